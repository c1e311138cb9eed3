#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "database/action_list.h"

namespace {

using namespace std::string_literals;

ActionRecord fileRecord(int32_t kind, const char* programName, std::string programPath, std::string dataA,
                        std::string dataB = {}, std::string dataC = {}) {
    ActionRecord record;
    std::strncpy(record.programName, programName, 8);
    record.programPath = std::move(programPath);
    record.processId = 0x1234;
    record.kind = kind;
    record.date = 0x2A3C;
    record.time = 0x5B21;
    record.source = sourceFileReport;
    record.dataA = std::move(dataA);
    record.dataB = std::move(dataB);
    record.dataC = std::move(dataC);
    return record;
}

ActionRecord registryRecord(std::string oldData, std::string newData, const char* registryPath) {
    ActionRecord record;
    std::strcpy(record.programName, "regedit");
    record.programPath = "c:\\windows\\regedit.exe";
    record.processId = -7;
    record.kind = 10;
    record.source = sourceRegistryReport;
    record.sizeA = int32_t(oldData.size());
    record.sizeB = int32_t(newData.size());
    record.dataA = std::move(oldData);
    record.dataB = std::move(newData);
    record.dataC = registryPath;
    record.valueType = 4;  // REG_DWORD
    return record;
}

auto fieldsOf(const ActionRecord& r) {
    return std::tuple(std::string(r.programName, sizeof r.programName), r.programPath, r.processId, r.kind, r.date,
                      r.time, r.source, r.dataA, r.dataB, r.dataC, r.sizeA, r.sizeB, r.valueType, r.undone(),
                      r.isSetting(), r.isControlPanel(), r.isExplorer(), r.isBootMarker(), r.isIniFile(), r.isDownload());
}

void expectSameRecords(const std::vector<ActionRecord>& actual, const std::vector<ActionRecord>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_EQ(fieldsOf(actual[i]), fieldsOf(expected[i])) << "record " << i;
}

std::string le32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char(value >> (8 * i));
    return bytes;
}

void putLe32(std::string& bytes, size_t offset, uint32_t value) { bytes.replace(offset, 4, le32(value)); }

std::string serialized(const ActionRecord& record) {
    std::string bytes;
    serializeRecord(record, bytes);
    return bytes;
}

// Records of every shape the program keeps, every slot set.
std::vector<ActionRecord> variedRecords() {
    ActionRecord boot = fileRecord(kindBootMarker, "vxd", "", "20240301");
    boot.setIsBootMarker(1);
    ActionRecord rename = fileRecord(kindRename, "explorer", "c:\\windows\\explorer.exe", "c:\\a.txt", "c:\\b.txt");
    rename.setIsExplorer(1);
    ActionRecord modify = fileRecord(kindModify, "notepad", "c:\\windows\\notepad.exe", "c:\\windows\\win.ini", {},
                                     "C:\\Retrace\\Undo Bin\\00000001.sav");
    modify.sizeA = 123456;
    modify.sizeB = -1;
    modify.setIsSetting(2);
    modify.setIsIniFile(1);
    ActionRecord applet = registryRecord("\x01\0\0\0"s, "\0\0\0\0"s, "hkcu\\control panel\\desktop\\wallpaper");
    std::strcpy(applet.programName, "CPL");
    applet.setIsControlPanel(1);
    applet.setIsSetting(2);
    ActionRecord download = fileRecord(kindCreate, "iexplore", "c:\\ie\\iexplore.exe", std::string(259, 'x'));
    download.setIsDownload(1);
    ActionRecord keyDeleted = registryRecord({}, std::string(5000, '\xff'), "hklm\\software\\gone");
    keyDeleted.kind = kindRegistryLast;
    return {boot, rename, modify, applet, download, keyDeleted, fileRecord(99, "", "", "")};
}

}  // namespace

TEST(ActionListFormat, ACreateRecordLaysOutEveryFieldAt113Bytes) {
    ActionRecord record = fileRecord(kindCreate, "winword", "c:\\msoffice\\word.exe", "c:\\docs1.doc");
    ASSERT_EQ(record.programPath.size(), 20u);
    ASSERT_EQ(record.dataA.size(), 12u);
    record.sizeA = 2048;
    record.setIsDownload(1);

    const std::string expected = "winword\0\0"s + le32(20) + "c:\\msoffice\\word.exe" + le32(0x1234) +
                                 le32(kindCreate) + "\x3C\x2A\x21\x5B"s + le32(1) + le32(12) + "c:\\docs1.doc" +
                                 le32(0) + le32(0) + le32(2048) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) +
                                 le32(0) + le32(0) + le32(0) + le32(1);
    ASSERT_EQ(expected.size(), 113u);
    EXPECT_EQ(serialized(record), expected);
}

TEST(ActionListFormat, ARegistryDwordKeepsItsZeroBytesWithTheLengthOfItsData) {
    ActionRecord record = registryRecord("\x01\0\0\0"s, "\x02\0\0\0"s, "hkcu\\software\\x\\count");
    std::string bytes = serialized(record);
    const size_t l2At = 9 + 4 + record.programPath.size() + 16;
    EXPECT_EQ(bytes.substr(l2At, 8), le32(4) + "\x01\0\0\0"s);
    EXPECT_EQ(bytes.substr(l2At + 8, 8), le32(4) + "\x02\0\0\0"s);

    auto parsed = parseRecord(bytes, 0);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(fieldsOf(parsed->record), fieldsOf(record));
    EXPECT_EQ(parsed->record.dataA.size(), 4u);
}

TEST(ActionListFormat, RegistryDataThatDisagreesWithItsSizeIsWrittenAsHeldAndComesBack) {
    ActionRecord record = registryRecord("\x01\0\0\0"s, "abc", "hkcu\\x");
    record.sizeA = 100;  // more than dataA holds: nothing past it may be read
    record.sizeB = -1;
    std::string bytes = serialized(record);
    EXPECT_EQ(bytes.size(), 81 + record.programPath.size() + 4 + 3 + 6);

    auto parsed = parseRecord(bytes, 0);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(fieldsOf(parsed->record), fieldsOf(record));
    EXPECT_EQ(serialized(parsed->record), bytes);
}

TEST(ActionListFormat, AFileRecordsSizeIsTheFileSizeNotItsPathLength) {
    ActionRecord record = fileRecord(kindModify, "write", "c:\\write.exe", "c:\\a.wri", {}, "c:\\bin\\1.sav");
    record.sizeA = 5'000'000;
    EXPECT_EQ(serialized(record).size(), 81 + 12 + 8 + 12u);
}

TEST(ActionListFormat, AnEightCharacterProgramNameIsStoredInNineBytesTheLastZero) {
    ActionRecord record = fileRecord(kindDelete, "longname", "c:\\x.exe", "c:\\y");
    std::string bytes = serialized(record);
    EXPECT_EQ(bytes.substr(0, 9), "longname\0"s);
    auto parsed = parseRecord(bytes, 0);
    ASSERT_TRUE(parsed);
    EXPECT_STREQ(parsed->record.programName, "longname");
}

TEST(ActionListFormat, AnUnterminatedProgramNameLoadsCutToEightCharacters) {
    std::string bytes = serialized(fileRecord(kindDelete, "longname", "c:\\x.exe", "c:\\y"));
    bytes[8] = 'X';
    auto parsed = parseRecord(bytes, 0);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::string(parsed->record.programName, 9), "longname\0"s);
    EXPECT_EQ(parsed->record.dataA, "c:\\y");
}

TEST(ActionListFormat, ParsingStartsAtTheOffsetAndReturnsTheOffsetBehindTheRecord) {
    auto records = variedRecords();
    std::string bytes = serializeActionList(records);
    size_t offset = 0;
    for (const ActionRecord& record : records) {
        auto parsed = parseRecord(bytes, offset);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(fieldsOf(parsed->record), fieldsOf(record));
        EXPECT_EQ(parsed->next, offset + serialized(record).size());
        offset = parsed->next;
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_FALSE(parseRecord(bytes, bytes.size()));
    EXPECT_FALSE(parseRecord(bytes, bytes.size() + 1));
}

TEST(ActionListFormat, VariedRecordsRoundTripByteForByte) {
    auto records = variedRecords();
    std::string bytes = serializeActionList(records);
    ParsedActionList parsed = parseActionList(bytes);
    EXPECT_FALSE(parsed.damaged);
    expectSameRecords(parsed.records, records);
    EXPECT_EQ(serializeActionList(parsed.records), bytes);
}

TEST(ActionListFormat, AnEmptyListIsAnEmptyFileAndBack) {
    EXPECT_EQ(serializeActionList({}), "");
    ParsedActionList parsed = parseActionList("");
    EXPECT_TRUE(parsed.records.empty());
    EXPECT_FALSE(parsed.damaged);
}

TEST(ActionListFormat, UndoneRecordsAreDroppedAndTheRestKeepTheirOrder) {
    auto records = variedRecords();
    records[1].setUndone(1);
    records[4].setUndone(2);  // a superseded Recycle counts up
    records[6].setUndone(-1);
    std::string bytes = serializeActionList(records);

    ParsedActionList parsed = parseActionList(bytes);
    EXPECT_FALSE(parsed.damaged);
    expectSameRecords(parsed.records, {records[0], records[2], records[3], records[5]});
}

TEST(ActionListFormat, AFileCutShortByOneByteLoadsAsAnEmptyDamagedList) {
    std::string bytes = serializeActionList(variedRecords());
    bytes.pop_back();
    ParsedActionList parsed = parseActionList(bytes);
    EXPECT_TRUE(parsed.records.empty());
    EXPECT_TRUE(parsed.damaged);
}

TEST(ActionListFormat, EveryCutInsideARecordDamagesTheListButKeepsTheRecordsInFrontReadable) {
    auto records = variedRecords();
    std::string bytes = serializeActionList(records);
    std::map<size_t, size_t> recordsBefore{{0, 0}};
    size_t end = 0;
    for (size_t i = 0; i < records.size(); ++i) recordsBefore[end += serialized(records[i]).size()] = i + 1;

    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        ParsedActionList parsed = parseActionList(std::string_view(bytes).substr(0, cut));
        // What a list kept aside for its damage still gives: the records in front of the cut one.
        EXPECT_EQ(readableActionRecords(std::string_view(bytes).substr(0, cut)).size(),
                  std::prev(recordsBefore.upper_bound(cut))->second)
            << "cut at " << cut;
        auto boundary = recordsBefore.find(cut);
        if (boundary == recordsBefore.end()) {
            EXPECT_TRUE(parsed.damaged) << "cut at " << cut;
            EXPECT_TRUE(parsed.records.empty()) << "cut at " << cut;
        } else {
            EXPECT_FALSE(parsed.damaged) << "cut at " << cut;
            EXPECT_EQ(parsed.records.size(), boundary->second) << "cut at " << cut;
        }
    }
}

TEST(ActionListFormat, LengthsReachingPastTheEndFailCleanlyWhateverTheirSize) {
    ActionRecord record = fileRecord(kindModify, "notepad", "c:\\np.exe", "c:\\a.txt", "b", "c:\\bin\\2.sav");
    const std::string sound = serialized(record) + serialized(record);
    const size_t l1At = 9, l2At = l1At + 4 + 9 + 16, l3At = l2At + 4 + 8, l4At = l3At + 4 + 1;
    for (size_t at : {l1At, l2At, l3At, l4At}) {
        const uint64_t wrapsToZero = (uint64_t(1) << 32) - (at + 4);  // at + 4 + length is 2^32
        for (uint64_t length : {uint64_t(0xFFFFFFFF), uint64_t(0xFFFFFFF0), uint64_t(0x80000000),
                                uint64_t(0x7FFFFFFF), wrapsToZero, wrapsToZero + 20, uint64_t(sound.size() - at - 4)}) {
            std::string bytes = sound;
            putLe32(bytes, at, uint32_t(length));
            EXPECT_FALSE(parseRecord(bytes, 0)) << "length " << length << " at " << at;
            ParsedActionList parsed = parseActionList(bytes);
            EXPECT_TRUE(parsed.damaged) << "length " << length << " at " << at;
            EXPECT_TRUE(parsed.records.empty());
        }
    }
}

TEST(ActionListBackupName, BeginsWithBackupAndNeverRepeats) {
    EXPECT_EQ(actionListBackupName(1), "BACKUP actionlist.000");
    EXPECT_EQ(actionListBackupName(2), "BACKUP 2 actionlist.000");
    std::set<std::string> names;
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        std::string name = actionListBackupName(attempt);
        EXPECT_EQ(name.substr(0, 6), "BACKUP");
        EXPECT_TRUE(names.insert(name).second) << name;
    }
}
