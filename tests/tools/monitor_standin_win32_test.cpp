// The monitor stand-in plays scripts against real folders and the registry of
// the test machine; the program's own report readers then read back what it
// recorded.

#include <gtest/gtest.h>
#include <windows.h>

#include "base/whole_file_win32.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"
#include "tests/support/scratch_folder_win32.h"
#include "tools/monitor_standin/player_win32.h"
#include "tools/monitor_standin/recycle_bin_win32.h"

namespace {

const char* const testKey = "Software\\Retrace Standin Test";

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

std::string savedContent(const std::string& savedPath) {
    auto content = decodeSavedCopy(contentOf(savedPath));
    return content ? *content : "<damaged or missing: " + savedPath + ">";
}

uint16_t dosDateOf(int year, int month, int day) {
    return dosDate(ScriptTime{year, month, day});
}

uint16_t dosTimeOf(int hour, int minute, int second) {
    return dosTime(ScriptTime{1980, 1, 1, hour, minute, second});
}

class MonitorStandin : public testing::Test {
protected:
    std::string root, bin, docs, archive;

    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "retrace standin " + std::to_string(GetCurrentProcessId());
        bin = root + "\\Undo Bin";
        docs = root + "\\My Documents";
        archive = root + "\\Archive";
        deleteTree(root);
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(docs.c_str(), nullptr);
        CreateDirectoryA(archive.c_str(), nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, testKey);
    }

    void TearDown() override {
        deleteTree(root);
        RegDeleteTreeA(HKEY_CURRENT_USER, testKey);
    }

    PlayOutcome play(const std::string& script) {
        ParsedScript parsed = parseScript(script);
        EXPECT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;
        return playScript(parsed.commands, bin);
    }

    void playAll(const std::string& script) {
        PlayOutcome outcome = play(script);
        ASSERT_FALSE(outcome.error) << outcome.error->line << ": " << outcome.error->message;
    }

    std::vector<FileReportEntry> reportEntries() {
        return parseFileReport(contentOf(bin + "\\filereport.000"));
    }

    // The entries as the rebuild turns them into actions.
    std::vector<FileReportEntry> fileActions() {
        auto entries = reportEntries();
        postProcessFileReport(entries, {}, [](const std::string& path) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? uint32_t(data.nFileSizeLow)
                                                                                   : 0u;
        });
        return entries;
    }

    std::vector<RegistryReportEntry> registryEntries() {
        return parseRegistryReport(contentOf(bin + "\\regreport.000"));
    }
};

struct ExpectedAction {
    int32_t kind;
    std::string path, otherPath;
    uint32_t size;
};

void expectActions(const std::vector<FileReportEntry>& actual, const std::vector<ExpectedAction>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].kind, expected[i].kind) << "action " << i;
        EXPECT_EQ(actual[i].path, lower(expected[i].path)) << "action " << i;
        EXPECT_EQ(actual[i].otherPath, lower(expected[i].otherPath)) << "action " << i;
        EXPECT_EQ(actual[i].size, expected[i].size) << "action " << i;
    }
}

}  // namespace

TEST_F(MonitorStandin, FileChangesComeBackAsTheActionsTheReaderMakesOfThem) {
    const std::string monday = "Dear Sam,\r\nSee you Monday.\r\n", tuesday = "Dear Sam,\r\nSee you Tuesday.\r\n";
    const std::string notes = "milk\r\n";
    playAll("clock 2024-03-05 09:14:00\n"
            "program WORDPAD \"%WINDIR%\\wordpad.exe\" 1204\n"
            "create \"" + docs + "\\notes.txt\" milk\n"
            "create \"" + docs + "\\letter.txt\" \"Dear Sam,\" \"See you Monday.\"\n"
            "write \"" + docs + "\\letter.txt\" \"Dear Sam,\" \"See you Tuesday.\"\n"
            "rename \"" + docs + "\\letter.txt\" \"" + docs + "\\letter to Sam.txt\"\n"
            "program explorer C:\\windows\\explorer.exe 88\n"
            "copy \"" + docs + "\\letter to Sam.txt\" \"" + archive + "\\letter to Sam.txt\"\n"
            "move \"" + docs + "\\notes.txt\" \"" + archive + "\\notes.txt\"\n"
            "delete \"" + archive + "\\letter to Sam.txt\"\n");

    auto actions = fileActions();
    ASSERT_EQ(actions.size(), 7u);
    const std::string modifyCopy = actions[2].otherPath, deleteCopy = actions[6].otherPath;
    expectActions(actions, {
        {kindCreate, docs + "\\notes.txt", "", uint32_t(notes.size())},
        {kindCreate, docs + "\\letter.txt", "", uint32_t(tuesday.size())},  // the size its next change reports
        {kindModify, docs + "\\letter.txt", modifyCopy, uint32_t(tuesday.size())},
        {kindRename, docs + "\\letter.txt", docs + "\\letter to Sam.txt", uint32_t(tuesday.size())},
        {kindCopy, archive + "\\letter to Sam.txt", "", uint32_t(tuesday.size())},
        {kindMove, docs + "\\notes.txt", archive + "\\notes.txt", uint32_t(notes.size())},
        {kindDelete, archive + "\\letter to Sam.txt", deleteCopy, uint32_t(tuesday.size())},
    });
    EXPECT_EQ(savedContent(modifyCopy), monday);
    EXPECT_EQ(savedContent(deleteCopy), tuesday);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_STREQ(actions[0].programName, "wordpad");
    EXPECT_EQ(actions[0].programPath, lower(std::string(windows) + "\\wordpad.exe"));
    EXPECT_EQ(actions[0].processId, 1204u);
    EXPECT_STREQ(actions[6].programName, "explorer");
    EXPECT_EQ(actions[6].programPath, "c:\\windows\\explorer.exe");
    EXPECT_EQ(actions[6].processId, 88u);

    // Two seconds per change; both halves of the move share one moment.
    EXPECT_EQ(actions[0].date, dosDateOf(2024, 3, 5));
    const uint16_t times[] = {dosTimeOf(9, 14, 0), dosTimeOf(9, 14, 2), dosTimeOf(9, 14, 4), dosTimeOf(9, 14, 6),
                              dosTimeOf(9, 14, 8), dosTimeOf(9, 14, 10), dosTimeOf(9, 14, 12)};
    for (size_t i = 0; i < actions.size(); ++i) EXPECT_EQ(actions[i].time, times[i]) << "action " << i;

    EXPECT_EQ(contentOf(docs + "\\letter to Sam.txt"), tuesday);
    EXPECT_EQ(contentOf(archive + "\\notes.txt"), notes);
    EXPECT_FALSE(exists(docs + "\\letter.txt"));
    EXPECT_FALSE(exists(docs + "\\notes.txt"));
    EXPECT_FALSE(exists(archive + "\\letter to Sam.txt"));
}

TEST_F(MonitorStandin, ExplorersMoveIsACreateThenADeleteWithTheSourceSaved) {
    putFile(docs + "\\plan.txt", "step one\r\n");
    playAll("program explorer C:\\windows\\explorer.exe 88\n"
            "move \"" + docs + "\\plan.txt\" \"" + archive + "\\plan.txt\"\n");
    auto entries = reportEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, kindCreate);
    EXPECT_EQ(entries[0].path, lower(archive + "\\plan.txt"));
    EXPECT_EQ(entries[1].kind, kindDelete);
    EXPECT_EQ(entries[1].path, lower(docs + "\\plan.txt"));
    EXPECT_EQ(savedContent(entries[1].otherPath), "step one\r\n");
}

TEST_F(MonitorStandin, SavedCopiesAreCompressedAndNamedInTheUndoBinByEightHexDigits) {
    std::string report;
    for (int line = 0; line < 200; ++line) report += "Quarterly figures, line " + std::to_string(line % 10) + "\r\n";
    putFile(docs + "\\report.txt", report);
    playAll("program WORDPAD C:\\wordpad.exe 5\n"
            "delete \"" + docs + "\\report.txt\"\n");

    auto entries = reportEntries();
    ASSERT_EQ(entries.size(), 1u);
    const std::string saved = entries[0].otherPath;
    const std::string folder = lower(bin) + "\\";
    ASSERT_EQ(saved.substr(0, folder.size()), folder);
    const std::string name = saved.substr(folder.size());
    ASSERT_EQ(name.size(), 12u);
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef"), 8u);
    EXPECT_EQ(name.substr(8), ".sav");

    const std::string bytes = contentOf(saved);
    EXPECT_LT(bytes.size(), report.size() / 4);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_NE(bytes[8], 1) << "the first block is stored, not compressed";
    EXPECT_EQ(savedContent(saved), report);
}

TEST_F(MonitorStandin, ARecycledFileLiesInTheRecycleBinUnderThePathTheEntryGives) {
    putFile(docs + "\\draft.txt", "first try\r\n");
    playAll("program explorer C:\\windows\\explorer.exe 88\n"
            "recycle \"" + docs + "\\draft.txt\"\n");
    auto entries = fileActions();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, kindRecycle);
    EXPECT_EQ(entries[0].path, lower(docs + "\\draft.txt"));
    EXPECT_EQ(entries[0].size, 11u);
    const std::string binFolder = lower(recycleBinFilesFolder()) + "\\";
    ASSERT_GT(binFolder.size(), 1u);
    EXPECT_EQ(entries[0].otherPath.substr(0, binFolder.size()), binFolder);
    EXPECT_FALSE(exists(docs + "\\draft.txt"));
    EXPECT_EQ(contentOf(entries[0].otherPath), "first try\r\n");
    EXPECT_TRUE(eraseRecycledFile(entries[0].otherPath));
}

TEST_F(MonitorStandin, EmptyingTheRecycleBinDeletesUnderTheRecycleBinPathWhichTheReaderMapsBack) {
    putFile(docs + "\\draft.txt", "first try\r\n");
    putFile(archive + "\\draft.txt", "second try\r\n");  // the same name, so the shell renames one
    playAll("program explorer C:\\windows\\explorer.exe 88\n"
            "recycle \"" + docs + "\\draft.txt\"\n"
            "recycle \"" + archive + "\\draft.txt\"\n"
            "empty-recycle-bin\n");

    auto entries = reportEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_NE(entries[0].otherPath, entries[1].otherPath);
    for (int i : {0, 1}) {
        EXPECT_EQ(entries[2 + i].kind, kindDelete);
        EXPECT_EQ(entries[2 + i].path, entries[i].otherPath);
        EXPECT_FALSE(exists(entries[i].otherPath));
    }
    EXPECT_EQ(savedContent(entries[2].otherPath), "first try\r\n");
    EXPECT_EQ(savedContent(entries[3].otherPath), "second try\r\n");

    auto actions = fileActions();
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[2].path, lower(docs + "\\draft.txt"));
    EXPECT_EQ(actions[3].path, lower(archive + "\\draft.txt"));
}

TEST_F(MonitorStandin, IniEditsAreModifiesWithTheEarlierTextSaved) {
    const std::string ini = docs + "\\editor.ini";
    const std::string earlier = "[View]\r\nZoom=100\r\nRuler=1\r\n";
    putFile(ini, earlier);
    playAll("program EDITOR C:\\editor.exe 9\n"
            "ini \"" + ini + "\" View Zoom 150\n"
            "ini \"" + ini + "\" View Ruler\n"
            "ini \"" + docs + "\\recent.ini\" Recent File1 \"C:\\a b.txt\"\n");

    char value[64];
    GetPrivateProfileStringA("View", "Zoom", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "150");
    GetPrivateProfileStringA("View", "Ruler", "gone", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "gone");

    auto actions = fileActions();
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_EQ(actions[0].kind, kindModify);
    EXPECT_EQ(actions[0].path, lower(ini));
    EXPECT_EQ(savedContent(actions[0].otherPath), earlier);
    EXPECT_EQ(actions[1].kind, kindModify);
    const std::string afterFirst = savedContent(actions[1].otherPath);
    EXPECT_NE(afterFirst.find("Zoom=150"), std::string::npos) << afterFirst;
    EXPECT_NE(afterFirst.find("Ruler=1"), std::string::npos) << afterFirst;
    EXPECT_EQ(actions[1].size, contentOf(ini).size());
    EXPECT_EQ(actions[2].kind, kindCreate);
    EXPECT_EQ(actions[2].path, lower(docs + "\\recent.ini"));
    EXPECT_EQ(actions[2].size, contentOf(docs + "\\recent.ini").size());
}

TEST_F(MonitorStandin, RegistryChangesCarryTheValueBeforeAndAfter) {
    const std::string key = std::string("HKCU\\") + testKey + "\\Editor";
    playAll("program NOTEPAD C:\\windows\\notepad.exe 77\n"
            "set-value \"" + key + "\\Font\" sz \"Courier New\"\n"
            "set-value \"" + key + "\\Font\" sz Arial\n"
            "set-value \"" + key + "\\Size\" dword 12\n"
            "delete-value \"" + key + "\\Font\"\n"
            "create-key \"" + key + "\\Recent\"\n"
            "delete-key \"" + key + "\\Recent\"\n");

    struct {
        int32_t kind;
        std::string path;
        uint32_t type;
        std::string oldData, newData;
    } expected[] = {
        {kindRegistryCreateKey, key + "\\", 0, "", ""},
        {kindRegistryNewValue, key + "\\Font", REG_SZ, "", std::string("Courier New\0", 12)},
        {kindRegistryChangeValue, key + "\\Font", REG_SZ, std::string("Courier New\0", 12), std::string("Arial\0", 6)},
        {kindRegistryNewValue, key + "\\Size", REG_DWORD, "", std::string("\x0C\0\0\0", 4)},
        {kindRegistryDeleteValue, key + "\\Font", REG_SZ, std::string("Arial\0", 6), ""},
        {kindRegistryCreateKey, key + "\\Recent\\", 0, "", ""},
        {kindRegistryDeleteKey, key + "\\Recent\\", 0, "", ""},
    };
    auto entries = registryEntries();
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].kind, expected[i].kind) << "entry " << i;
        EXPECT_EQ(entries[i].registryPath, lower(expected[i].path)) << "entry " << i;
        EXPECT_EQ(entries[i].valueType, expected[i].type) << "entry " << i;
        EXPECT_EQ(entries[i].oldData, expected[i].oldData) << "entry " << i;
        EXPECT_EQ(entries[i].newData, expected[i].newData) << "entry " << i;
        EXPECT_STREQ(entries[i].programName, "notepad");
        EXPECT_EQ(entries[i].programPath, "c:\\windows\\notepad.exe");
        EXPECT_EQ(entries[i].processId, 77u);
    }
    EXPECT_FALSE(exists(bin + "\\filereport.000"));

    HKEY editor;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(testKey) + "\\Editor").c_str(), 0, KEY_READ, &editor),
              ERROR_SUCCESS);
    DWORD size = 0, number = 0, numberSize = sizeof number;
    EXPECT_EQ(RegQueryValueExA(editor, "Font", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(editor, "Size", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &numberSize),
              ERROR_SUCCESS);
    EXPECT_EQ(number, 12u);
    HKEY recent;
    EXPECT_NE(RegOpenKeyExA(editor, "Recent", 0, KEY_READ, &recent), ERROR_SUCCESS);
    RegCloseKey(editor);
}

TEST_F(MonitorStandin, ABootIsAMarkerWithItsTextAndTheStartOverSetOfTheSystemFilesThatExist) {
    playAll("clock 2024-03-05 23:59:58\n"
            "boot\n"
            "boot Night\n");
    auto entries = fileActions();
    ASSERT_EQ(entries.size(), 2u);
    const std::string generated = "5865";  // 2024-03-05 as an MS-DOS date, then the time
    EXPECT_EQ(entries[0].markerText, generated + "bf7d");
    EXPECT_EQ(std::string(entries[1].markerText), "night");
    EXPECT_EQ(entries[1].date, dosDateOf(2024, 3, 6));
    EXPECT_EQ(entries[1].time, dosTimeOf(0, 0, 0));
    for (auto& entry : entries) {
        EXPECT_EQ(entry.kind, kindBootMarker);
        EXPECT_EQ(entry.path, "");
        EXPECT_EQ(entry.otherPath, "");
        EXPECT_EQ(entry.programPath, "");
        EXPECT_STREQ(entry.programName, "");
        EXPECT_EQ(entry.processId, 0u);
    }

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string winIni = std::string(windows) + "\\win.ini";
    ASSERT_TRUE(exists(winIni));
    EXPECT_EQ(savedContent(bin + "\\SO\\Night.WIN"), contentOf(winIni));
    EXPECT_EQ(savedContent(bin + "\\SO\\5865BF7D.WIN"), contentOf(winIni));
    const std::pair<const char*, std::string> others[] = {
        {"SYS", std::string(windows) + "\\system.ini"}, {"PRO", std::string(windows) + "\\protocol.ini"},
        {"AUT", "c:\\autoexec.bat"},                    {"CON", "c:\\config.sys"},
        {"MSD", "c:\\msdos.sys"},                       {"USE", std::string(windows) + "\\user.dat"},
        {"SYD", std::string(windows) + "\\system.dat"},
    };
    for (auto& [extension, file] : others) {
        const std::string copy = bin + "\\SO\\Night." + extension;
        EXPECT_EQ(exists(copy), exists(file)) << file;
        if (exists(file)) {
            EXPECT_EQ(savedContent(copy), contentOf(file)) << file;
        }
    }
}

TEST_F(MonitorStandin, WithoutAClockEntriesCarryTheLocalDate) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    playAll("program N C:\\n.exe 1\n"
            "create \"" + docs + "\\a.txt\" a\n");
    GetLocalTime(&after);
    auto entries = reportEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].date == dosDateOf(before.wYear, before.wMonth, before.wDay) ||
                entries[0].date == dosDateOf(after.wYear, after.wMonth, after.wDay));
}

TEST_F(MonitorStandin, AFailingCommandStopsThePlayAndKeepsWhatWasRecordedBeforeIt) {
    PlayOutcome outcome = play("program N C:\\n.exe 1\n"
                               "create \"" + docs + "\\a.txt\" a\n"
                               "\n"
                               "delete \"" + docs + "\\missing.txt\"\n"
                               "create \"" + docs + "\\b.txt\" b\n");
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->line, 4);
    EXPECT_EQ(outcome.error->message, "no such file: " + docs + "\\missing.txt");
    EXPECT_EQ(outcome.entries, 1);
    EXPECT_EQ(reportEntries().size(), 1u);
    EXPECT_FALSE(exists(docs + "\\b.txt"));
}

TEST_F(MonitorStandin, ChangesThatCannotBeMadeLeaveNoEntryAndNoSavedCopy) {
    putFile(docs + "\\a.txt", "a");
    putFile(docs + "\\b.txt", "b");
    const std::string program = "program N C:\\n.exe 1\n";
    const std::string refused[] = {
        "create \"" + docs + "\\a.txt\" again",
        "rename \"" + docs + "\\a.txt\" \"" + docs + "\\b.txt\"",
        "move \"" + docs + "\\a.txt\" \"" + docs + "\\b.txt\"",
        "copy \"" + docs + "\\a.txt\" \"" + docs + "\\b.txt\"",
        "write \"" + docs + "\\c.txt\" c",
        "delete-value \"HKCU\\" + std::string(testKey) + "\\Missing\"",
        "delete-key \"HKCU\\" + std::string(testKey) + "\\Missing\"",
    };
    for (auto& line : refused) {
        PlayOutcome outcome = play(program + line + "\n");
        EXPECT_TRUE(outcome.error) << line;
        EXPECT_EQ(outcome.entries, 0) << line;
    }
    EXPECT_FALSE(exists(bin + "\\filereport.000"));
    EXPECT_FALSE(exists(bin + "\\regreport.000"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((bin + "\\*.sav").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_EQ(contentOf(docs + "\\a.txt"), "a");
    EXPECT_EQ(contentOf(docs + "\\b.txt"), "b");
}
