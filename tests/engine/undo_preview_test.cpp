#include "engine/undo_preview.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "engine/saved_copy_start.h"
#include "monitor/saved_copy.h"
#include "tests/database/record_builder.h"

namespace {

ActionRecord fileAction(const char* program, int32_t kind, std::string path, int hour, int minute,
                        int32_t size = 0) {
    ActionRecord record = RecordBuilder(program, 7, kind).paths(std::move(path)).at(hour, minute);
    record.sizeA = size;
    return record;
}

ActionRecord setting(int32_t kind, std::string path, std::string before, uint32_t type = 1) {
    ActionRecord record = RecordBuilder("writer", 7, kind);
    record.dataC = std::move(path);
    record.sizeA = int32_t(before.size());
    record.dataA = std::move(before);
    record.valueType = int32_t(type);
    record.setIsSetting(1);
    return record;
}

// A row of the side-by-side view as "earlier number|now number|mark|earlier|now".
std::vector<std::string> shown(std::string_view earlier, std::string_view now) {
    std::vector<std::string> rows;
    for (const ListRow& row : textPreviewRows(sideBySideLines(earlier, now)))
        rows.push_back(row.cells[0] + "|" + row.cells[1] + "|" + row.cells[2] + "|" + row.cells[3]);
    return rows;
}

}  // namespace

TEST(LooksLikeText, TellsTextFromBinaryAsEditorsDo) {
    const struct {
        std::string bytes;
        bool text;
    } cases[] = {
        {"", true},
        {"Dear Sam,\r\nSee you Monday.\r\n", true},
        {"tab\tand form feed\f\x1b[0m", true},
        {std::string("MZ\x90\0\x03", 5), false},
        {"\x01\x02\x03 header", false},
        {std::string(300, 'a') + "\x01", true},
        {"caf\xc3\xa9 \xe9t\xe9", true},
    };
    for (const auto& c : cases) EXPECT_EQ(looksLikeText(c.bytes), c.text) << c.bytes;
}

TEST(SideBySideLines, AlignsSharedLinesAndMarksTheOthers) {
    const struct {
        const char* earlier;
        const char* now;
        std::vector<std::string> rows;
    } cases[] = {
        {"a\nb\n", "a\nb\n", {"1||a|a", "2||b|b"}},
        {"a\r\nb\r\nc\r\n", "a\r\nB\r\nc\r\n", {"1||a|a", "2|<>|b|B", "3||c|c"}},
        {"a\nb\nc\n", "a\nc\n", {"1||a|a", "2|<|b|", "3||c|c"}},
        {"a\nc", "a\nb\nc\nd", {"1||a|a", "2|>||b", "2||c|c", "4|>||d"}},
        {"", "new\n", {"1|>||new"}},
        {"gone\n", "", {"1|<|gone|"}},
        {"x\ty\n", "x\ty\n", {"1||x    y|x    y"}},
        // Two edits apart from each other keep the shared line between them.
        {"1\n2\n3\n4\n5\n", "1\nTWO\n3\n4\nFIVE\n", {"1||1|1", "2|<>|2|TWO", "3||3|3", "4||4|4", "5|<>|5|FIVE"}},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(c.earlier, c.now), c.rows) << c.earlier << " / " << c.now;
}

TEST(SideBySideLines, PairsAMiddleTooLongToAlignLineByLine) {
    std::string earlier, now;
    for (int i = 0; i < 2500; ++i) {
        std::string number = std::to_string(i);
        earlier += 'e' + number + '\n';
        now += 'n' + number + '\n';
    }
    std::vector<PreviewLine> lines = sideBySideLines(earlier, now);
    ASSERT_EQ(lines.size(), 2500u);
    EXPECT_EQ(lines[1234].earlier, "e1234");
    EXPECT_EQ(lines[1234].now, "n1234");
    EXPECT_EQ(lines[1234].mark, LineMark::Changed);
}

TEST(ChangedSinceNotice, NamesTheLaterActionOrTellsTheFileIsNotWhatTheActionLeft) {
    const std::string kept = ": the later version is kept beside the one that comes back.";
    const std::string memo = "c:\\docs\\memo.txt";
    std::vector<ActionRecord> records{
        fileAction("NOTEPAD", kindModify, memo, 9, 5, 40),
        fileAction("EXCEL", kindModify, "C:\\DOCS\\MEMO.TXT", 10, 42, 50),
        fileAction("writer", kindModify, "c:\\docs\\other.doc", 11, 0, 10),
        fileAction("writer", kindDelete, "c:\\docs\\gone.doc", 11, 5, 10),
    };
    ActionRecord rename = RecordBuilder("explorer", 8, kindRename).paths("c:\\docs\\a.doc", "c:\\docs\\b.doc");
    records.push_back(rename);
    records.push_back(fileAction("writer", kindModify, "c:\\docs\\b.doc", 12, 1, 3));
    ActionRecord undoneLater = fileAction("writer", kindModify, "c:\\docs\\other.doc", 12, 30, 20);
    undoneLater.setUndone(1);
    records.push_back(undoneLater);

    const struct {
        size_t index;
        FileNow now;
        std::optional<std::string> notice;
    } cases[] = {
        {0, {true, 50, 0}, "Changed since 10:42 by Excel" + kept},
        {1, {true, 50, 0}, std::nullopt},
        {1, {true, 51, encodeDosTime(13, 7, 0)}, "Changed since 13:07" + kept},
        {1, {false, 0, 0}, "Changed since: the file is gone."},
        // A later action that was undone is no change.
        {2, {true, 10, 0}, std::nullopt},
        {3, {false, 0, 0}, std::nullopt},
        {3, {true, 3, encodeDosTime(8, 0, 0)}, "Changed since 08:00" + kept},
        // A rename left its file at the new name, which a later action changed.
        {4, {true, 0, 0}, "Changed since 12:01 by Writer" + kept},
    };
    for (const auto& c : cases) EXPECT_EQ(changedSinceNotice(records, c.index, c.now), c.notice) << c.index;
    EXPECT_EQ(changedSinceNotice(records, 99, {}), std::nullopt);
    records.push_back(setting(10, "HKCU\\Software\\A\\B", "x"));
    EXPECT_EQ(changedSinceNotice(records, records.size() - 1, {}), std::nullopt);
}

TEST(FileUndoWords, SayWhatTheUndoDoesWithWhichPaths) {
    ActionRecord move = RecordBuilder("explorer", 8, kindMove).paths("c:\\a\\x.doc", "c:\\b\\x.doc");
    ActionRecord rename = RecordBuilder("explorer", 8, kindRename).paths("c:\\a\\x.doc", "c:\\a\\y.doc");
    ActionRecord create = RecordBuilder("writer", 8, kindCreate).paths("c:\\a\\new.doc");
    ActionRecord modify = RecordBuilder("writer", 8, kindModify).paths("c:\\a\\memo.txt");
    ActionRecord remove = RecordBuilder("writer", 8, kindDelete).paths("c:\\a\\old\\memo.txt");
    ActionRecord recycle = RecordBuilder("explorer", 8, kindRecycle).paths("c:\\a\\memo.txt");
    const struct {
        ActionRecord record;
        std::string restoreName;
        bool folderMissing;
        std::string words;
    } cases[] = {
        {move, "", false, "The undo moves c:\\b\\x.doc back to c:\\a\\x.doc."},
        {rename, "", false, "The undo renames c:\\a\\y.doc back to c:\\a\\x.doc."},
        {create, "", false, "The undo sends c:\\a\\new.doc to the Recycle Bin."},
        {modify, "c:\\a\\memo.undo.txt", false,
         "The earlier version comes back beside c:\\a\\memo.txt, as c:\\a\\memo.undo.txt."},
        {remove, "c:\\a\\old\\memo.undo.txt", true,
         "The deleted file comes back as c:\\a\\old\\memo.undo.txt. Its folder is gone and will be made again."},
        {recycle, "", false, "The file comes back from the Recycle Bin to c:\\a\\memo.txt."},
    };
    for (const auto& c : cases) EXPECT_EQ(fileUndoWords(c.record, c.restoreName, c.folderMissing), c.words);
}

TEST(RegistryValueText, ShowsEachTypeAsAPersonReadsIt) {
    const struct {
        uint32_t type;
        std::string data;
        std::string text;
    } cases[] = {
        {1, std::string("sky.bmp\0", 8), "sky.bmp"},
        {4, std::string("\x78\0\0\0", 4), "120"},
        {4, std::string("\x01\x02", 2), "01 02"},
        {7, std::string("one\0two\0\0", 9), "one | two"},
        {3, std::string(40, '\xff'), "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "
                                     "FF FF FF FF FF FF ..."},
        {1, "", "(empty)"},
    };
    for (const auto& c : cases) EXPECT_EQ(registryValueText(c.type, c.data), c.text);
}

TEST(SettingRows, ListEachValueAndEntryWithItsValueNowAndTheOneThatComesBack) {
    std::vector<ActionRecord> records{
        setting(10, "HKCU\\Software\\Writer\\Zoom", std::string("\x64\0\0\0", 4), 4),
        setting(11, "HKCU\\Software\\Writer\\Theme", "", 1),
        setting(13, "HKCU\\Software\\Writer\\New\\", ""),
        fileAction("writer", kindModify, "c:\\docs\\writer.ini", 9, 0),
        fileAction("writer", kindModify, "c:\\docs\\broken.ini", 9, 0),
        fileAction("writer", kindCreate, "c:\\docs\\letter.doc", 9, 0),
    };
    records[3].setIsIniFile(1);
    records[4].setIsIniFile(1);
    std::map<std::string, RegistryValueNow> registry{{"Software\\Writer|Zoom", {4, std::string("\x78\0\0\0", 4)}}};
    SettingsNow now{
        [&](const KeyPath& path) -> std::optional<RegistryValueNow> {
            auto found = registry.find(path.subkey + "|" + path.valueName);
            return found == registry.end() ? std::nullopt : std::optional(found->second);
        },
        [](int32_t index) -> std::optional<SettingsNow::IniTexts> {
            if (index == 4) return std::nullopt;
            return SettingsNow::IniTexts{"[View]\r\nZoom=100\r\nRuler=1\r\n", "[View]\r\nZoom=120\r\nGrid=on\r\n"};
        },
    };
    const int32_t order[] = {0, 1, 2, 3, 4, 5};
    std::vector<ListRow> expected{
        {{"HKCU\\Software\\Writer", "Zoom", "120", "100"}, 0},
        {{"HKCU\\Software\\Writer", "Theme", "(none)", "removed"}, 1},
        {{"HKCU\\Software\\Writer\\New", "", "(key)", "removed"}, 2},
        {{"c:\\docs\\writer.ini [View]", "Zoom", "120", "100"}, 3},
        {{"c:\\docs\\writer.ini [View]", "Ruler", "(none)", "1"}, 3},
        {{"c:\\docs\\writer.ini [View]", "Grid", "on", "(empty)"}, 3},
        {{"c:\\docs\\broken.ini", "", "", "The earlier version is not available"}, 4},
    };
    EXPECT_EQ(settingRows(records, order, now), expected);
    EXPECT_EQ(sessionPreviewWords(records, order),
              "The undo puts back these settings, the last change first. It also takes back 1 file action.");
}

TEST(ReadSavedCopyStart, KeepsTheStartAndStillTellsWhetherTheWholeCopyReadsBack) {
    std::string content(100000, 'x');
    content[5] = 'y';
    std::string copy = encodeSavedCopy(content, BlockMethod::Compressed, 4096);
    SavedCopyStart start = readSavedCopyStart(copy, 10);
    EXPECT_EQ(start.start, "xxxxxyxxxx");
    EXPECT_EQ(start.total, 100000u);
    EXPECT_TRUE(start.complete);
    EXPECT_FALSE(readSavedCopyStart(copy.substr(0, copy.size() - 3), 10).complete);
    EXPECT_FALSE(readSavedCopyStart("", 10).complete);
    EXPECT_EQ(readSavedCopyStart(encodeSavedCopy(""), 10).complete, true);
}

TEST(FormatHourMinute, ShowsTheTwentyFourHourClock) {
    EXPECT_EQ(formatHourMinute(encodeDosTime(10, 42, 58)), "10:42");
    EXPECT_EQ(formatHourMinute(encodeDosTime(0, 5, 0)), "00:05");
    EXPECT_EQ(formatHourMinute(encodeDosTime(23, 59, 0)), "23:59");
}
