#include <gtest/gtest.h>

#include <cstring>

#include "base/dos_time.h"
#include "database/merge_reports.h"

namespace {
FileReportEntry fileEntry(std::string path, uint16_t date, uint16_t time, int32_t kind = kindCreate) {
    FileReportEntry entry;
    entry.path = std::move(path);
    std::strcpy(entry.programName, "notepad");
    entry.programPath = "c:\\windows\\notepad.exe";
    entry.processId = 7;
    entry.date = date;
    entry.time = time;
    entry.kind = kind;
    return entry;
}

RegistryReportEntry registryEntry(std::string registryPath, uint16_t date, uint16_t time) {
    RegistryReportEntry entry;
    std::strcpy(entry.programName, "regedit");
    entry.programPath = "c:\\windows\\regedit.exe";
    entry.processId = 9;
    entry.kind = 10;
    entry.date = date;
    entry.time = time;
    entry.registryPath = std::move(registryPath);
    return entry;
}

// The dataA of file records and the dataC of registry records, in list order.
std::vector<std::string> order(const std::vector<ActionRecord>& records) {
    std::vector<std::string> names;
    for (const ActionRecord& record : records)
        names.push_back(record.source == sourceFileReport ? record.dataA : record.dataC);
    return names;
}

const uint16_t day = encodeDosDate(1998, 3, 19);
using Names = std::vector<std::string>;
}  // namespace

TEST(MergeReports, PutsTheFileEntryFirstWhenBothHaveTheSameSecond) {
    std::vector<ActionRecord> records;
    mergeReports(std::vector{fileEntry("f", day, encodeDosTime(10, 0, 0))},
                 std::vector{registryEntry("r", day, encodeDosTime(10, 0, 0))}, records);
    EXPECT_EQ(order(records), (Names{"f", "r"}));
}

TEST(MergeReports, PutsTheRegistryEntryFirstWhenTheFileEntryIsLater) {
    std::vector<ActionRecord> records;
    mergeReports(std::vector{fileEntry("f", day, encodeDosTime(10, 0, 2))},
                 std::vector{registryEntry("r", day, encodeDosTime(10, 0, 0))}, records);
    EXPECT_EQ(order(records), (Names{"r", "f"}));
}

TEST(MergeReports, OrdersAcrossTheTurnOfTheYearAndOfTheMonth) {
    std::vector<ActionRecord> records;
    mergeReports(std::vector{fileEntry("f 1 Jan", encodeDosDate(1999, 1, 1), 0),
                             fileEntry("f 1 Feb", encodeDosDate(1999, 2, 1), 0)},
                 std::vector{registryEntry("r 31 Dec", encodeDosDate(1998, 12, 31), encodeDosTime(23, 59, 58)),
                             registryEntry("r 2 Jan", encodeDosDate(1999, 1, 2), encodeDosTime(23, 0, 0)),
                             registryEntry("r 31 Jan", encodeDosDate(1999, 1, 31), 0)},
                 records);
    EXPECT_EQ(order(records), (Names{"r 31 Dec", "f 1 Jan", "r 2 Jan", "r 31 Jan", "f 1 Feb"}));
}

TEST(MergeReports, KeepsEachReportsOwnOrderEvenWhereItIsNotInTime) {
    std::vector<ActionRecord> records;
    mergeReports(std::vector{fileEntry("f late", day, encodeDosTime(12, 0, 0)),
                             fileEntry("f early", day, encodeDosTime(8, 0, 0))},
                 std::vector{registryEntry("r", day, encodeDosTime(10, 0, 0))}, records);
    EXPECT_EQ(order(records), (Names{"r", "f late", "f early"}));
}

TEST(MergeReports, AppendsAOneSidedReportWholeBehindTheRecordsAlreadyThere) {
    std::vector<ActionRecord> records(1);
    records[0].dataA = "old";
    records[0].source = sourceFileReport;
    mergeReports({}, std::vector{registryEntry("r2", day, 5), registryEntry("r1", day, 1)}, records);
    EXPECT_EQ(order(records), (Names{"old", "r2", "r1"}));
    mergeReports(std::vector{fileEntry("f2", day, 5), fileEntry("f1", day, 1)}, {}, records);
    EXPECT_EQ(order(records), (Names{"old", "r2", "r1", "f2", "f1"}));
}

TEST(MergeReports, FillsAFileRecordsThreeBuffersByKind) {
    struct { int32_t kind; const char* a; const char* b; const char* c; } cases[] = {
        {kindCreate, "path", "", ""},     {kindCopy, "path", "", ""},      {kindRename, "path", "other", ""},
        {kindMove, "path", "other", ""},  {kindDelete, "path", "", "other"}, {kindModify, "path", "", "other"},
        {kindRecycle, "path", "", "other"}, {kindBootMarker, "MARK0001", "", ""}, {9, "path", "", "other"},
    };
    for (auto& c : cases) {
        FileReportEntry entry = fileEntry("path", day, 0, c.kind);
        entry.otherPath = "other";
        std::strcpy(entry.markerText, "MARK0001");
        ActionRecord record = recordFromFileEntry(entry);
        EXPECT_EQ(record.dataA, c.a) << c.kind;
        EXPECT_EQ(record.dataB, c.b) << c.kind;
        EXPECT_EQ(record.dataC, c.c) << c.kind;
    }
}

TEST(MergeReports, CarriesTheFileEntrysOtherFieldsAndLeavesTheDerivedSlotsZero) {
    FileReportEntry entry = fileEntry("c:\\a.txt", day, encodeDosTime(10, 0, 0));
    std::memcpy(entry.programName, "winword!", 9);
    entry.size = 0xFFFFFFFF;
    entry.extra = 0x80000000;
    entry.processId = 0xFFFFFFF0;
    ActionRecord record = recordFromFileEntry(entry);
    EXPECT_STREQ(record.programName, "winword!");
    EXPECT_EQ(record.programPath, "c:\\windows\\notepad.exe");
    EXPECT_EQ(record.processId, -16);
    EXPECT_EQ(record.kind, kindCreate);
    EXPECT_EQ(record.date, day);
    EXPECT_EQ(record.time, encodeDosTime(10, 0, 0));
    EXPECT_EQ(record.source, sourceFileReport);
    EXPECT_EQ(uint32_t(record.sizeA), 0xFFFFFFFFu);
    EXPECT_EQ(uint32_t(record.sizeB), 0x80000000u);
    EXPECT_EQ(record.valueType, 0);
    EXPECT_EQ(record.undone() + record.isSetting() + record.isControlPanel() + record.isExplorer() + record.isBootMarker() +
                  record.isIniFile() + record.isDownload(),
              0);
}

TEST(MergeReports, CutsAProgramNameThatFillsAllNineBytesToEightAndTerminatesIt) {
    FileReportEntry entry = fileEntry("c:\\a.txt", day, 0);
    std::memcpy(entry.programName, "ninechars", 9);
    EXPECT_STREQ(recordFromFileEntry(entry).programName, "ninechar");
}

TEST(MergeReports, CopiesARegistryEntrysValueDataWithItsZeroBytesAndLengths) {
    RegistryReportEntry entry = registryEntry("HKLM\\Software\\x\\v", day, 0);
    entry.oldData = std::string("\1\0\0\0", 4);
    entry.newData = std::string("\2\0", 2);
    entry.valueType = 4;
    ActionRecord record = recordFromRegistryEntry(entry);
    EXPECT_EQ(record.source, sourceRegistryReport);
    EXPECT_EQ(record.kind, 10);
    EXPECT_EQ(record.processId, 9);
    EXPECT_STREQ(record.programName, "regedit");
    EXPECT_EQ(record.programPath, "c:\\windows\\regedit.exe");
    EXPECT_EQ(record.dataA, std::string("\1\0\0\0", 4));
    EXPECT_EQ(record.sizeA, 4);
    EXPECT_EQ(record.dataB, std::string("\2\0", 2));
    EXPECT_EQ(record.sizeB, 2);
    EXPECT_EQ(record.dataC, "HKLM\\Software\\x\\v");
    EXPECT_EQ(record.valueType, 4);
}

// The index kept from click to click answers as one made afresh would: the
// newest Recycle record of a copy wins, records appended since the last
// question are taken in, and records that moved make it start again.
TEST(RecycleOriginIndex, KeptFromClickToClickAnswersAsAFreshOne) {
    auto recycled = [](const char* from, const char* copy) {
        ActionRecord record;
        record.kind = kindRecycle;
        record.dataA = from;
        record.dataC = copy;
        return record;
    };
    std::vector<ActionRecord> history{recycled("c:\\a.doc", "c:\\recycled\\dc1.doc"),
                                      recycled("c:\\b.doc", "c:\\recycled\\dc2.doc")};
    RecycleOriginIndex index;
    EXPECT_EQ(index.find(history, 0, "C:\\Recycled\\DC1.doc"), "c:\\a.doc");
    EXPECT_EQ(index.find(history, 0, "c:\\recycled\\dc9.doc"), std::nullopt);

    history.push_back(recycled("c:\\c.doc", "c:\\recycled\\dc9.doc"));  // a click appends
    history.push_back(recycled("c:\\newer.doc", "c:\\recycled\\dc1.doc"));
    EXPECT_EQ(index.find(history, 0, "c:\\recycled\\dc9.doc"), "c:\\c.doc");
    EXPECT_EQ(index.find(history, 0, "c:\\recycled\\dc1.doc"), "c:\\newer.doc");

    history.erase(history.begin(), history.begin() + 3);  // a trim drops the front
    EXPECT_EQ(index.find(history, 1, "c:\\recycled\\dc2.doc"), std::nullopt);
    EXPECT_EQ(index.find(history, 1, "c:\\recycled\\dc1.doc"), "c:\\newer.doc");
    EXPECT_EQ(recycledFrom(history)("c:\\recycled\\dc1.doc"), "c:\\newer.doc");
}

// Start-up indexes ahead of the first question, and a click may stop it
// anywhere: a question then goes on from where it stopped.
TEST(RecycleOriginIndex, AnIndexingGivenUpPartWayAnswersAsAFreshOne) {
    std::vector<ActionRecord> history(150'000);
    for (size_t i = 0; i < history.size(); i += 10) {
        history[i].kind = kindRecycle;
        history[i].dataA = "c:\\docs\\" + std::to_string(i) + ".doc";
        history[i].dataC = "c:\\recycled\\dc" + std::to_string(i % 100'000) + ".doc";
    }
    for (int asksBeforeGivingUp : {0, 1, 2}) {
        RecycleOriginIndex index;
        int asks = 0;
        index.extend(history, 0, [&] { return asks++ >= asksBeforeGivingUp; });
        RecycleOriginIndex fresh;
        for (size_t copy : {0, 10, 65'530, 65'540, 99'990}) {
            const std::string binPath = "C:\\Recycled\\DC" + std::to_string(copy) + ".doc";
            EXPECT_EQ(index.find(history, 0, binPath), fresh.find(history, 0, binPath)) << asksBeforeGivingUp;
        }
        EXPECT_EQ(index.find(history, 0, "c:\\recycled\\dc10.doc"), "c:\\docs\\100010.doc") << "the newest wins";
        EXPECT_EQ(asks, asksBeforeGivingUp + 1);
    }
}
