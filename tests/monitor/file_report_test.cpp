#include "monitor/file_report.h"
#include "database/merge_reports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

namespace {

FileReportEntry entry(int32_t kind, std::string path, const char* program = "winword", std::string otherPath = "",
                      uint32_t size = 0) {
    FileReportEntry e;
    e.kind = kind;
    e.path = std::move(path);
    std::strncpy(e.programName, program, 8);
    e.programPath = std::string("c:\\programs\\") + program + ".exe";
    e.otherPath = std::move(otherPath);
    e.size = size;
    return e;
}

std::string encode(const std::vector<FileReportEntry>& entries) {
    std::string bytes;
    for (auto& e : entries) bytes += serializeFileReportEntry(e);
    return bytes;
}

void putLe32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = char(value >> (8 * i));
}

std::vector<int32_t> kindsOf(const std::vector<FileReportEntry>& entries) {
    std::vector<int32_t> kinds;
    for (auto& e : entries) kinds.push_back(e.kind);
    return kinds;
}

std::vector<std::string> pathsOf(const std::vector<FileReportEntry>& entries) {
    std::vector<std::string> paths;
    for (auto& e : entries) paths.push_back(e.path);
    return paths;
}

std::vector<uint32_t> sizesOf(const std::vector<FileReportEntry>& entries) {
    std::vector<uint32_t> sizes;
    for (auto& e : entries) sizes.push_back(e.size);
    return sizes;
}

ActionRecord recycleRecord(std::string formerPath, std::string binPath) {
    ActionRecord r;
    r.kind = kindRecycle;
    r.dataA = std::move(formerPath);
    r.dataC = std::move(binPath);
    return r;
}

// Sizes on disk by path; every question asked is kept.
struct Disk {
    std::map<std::string, uint32_t> sizes;
    std::vector<std::string> asked;
    std::function<uint32_t(const std::string&)> sizeOf() {
        return [this](const std::string& path) {
            asked.push_back(path);
            return sizes.count(path) ? sizes[path] : 0u;
        };
    }
};

std::vector<FileReportEntry> processed(std::vector<FileReportEntry> entries, std::span<const ActionRecord> history = {},
                                       Disk* disk = nullptr) {
    Disk none;
    postProcessFileReport(entries, recycledFrom(history), (disk ? disk : &none)->sizeOf());
    return entries;
}

}  // namespace

TEST(FileReport, WritesTheEntryLayoutTheMonitorWrites) {
    FileReportEntry e = entry(kindRename, "c:\\a", "note", "c:\\bc", 0x01020304);
    e.programPath = "p";
    e.processId = 0xA1B2C3D4;
    e.date = 0x1234;
    e.time = 0x5678;
    e.extra = 0xCAFEBABE;
    std::strcpy(e.markerText, "mark");
    const std::string expected(
        "\x04\x00\x00\x00"
        "c:\\a"
        "note\0\0\0\0"
        "\x01\x00\x00\x00"
        "p"
        "\xD4\xC3\xB2\xA1"
        "\x34\x12\x78\x56"
        "\x04\x03\x02\x01"
        "\xBE\xBA\xFE\xCA"
        "\x03\x00\x00\x00"
        "\x05\x00\x00\x00"
        "c:\\bc"
        "mark\0\0\0\0",
        48 + 4 + 1 + 5);
    EXPECT_EQ(serializeFileReportEntry(e), expected);
}

TEST(FileReport, ReadsBackEveryFieldWithTextInLowerCaseAndIntegersAsTheyWere) {
    struct {
        uint32_t processId;
        uint16_t date, time;
        uint32_t size, extra;
        int32_t kind;
    } cases[] = {
        {0, 0, 0, 0, 0, 0},
        {0xFFFFFFFF, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, -1},
        {0x80000000, 0x8000, 0x8000, 0x80000000, 0x80000000, INT32_MIN},
        {4242, 0x2A21, 0x6B3C, 65536, 7, kindModify},
    };
    for (auto& c : cases) {
        FileReportEntry e = entry(c.kind, "C:\\Docs\\Report [Final] @Z.DOC", "WINWORD9", "C:\\UNDO BIN\\ABC.UND");
        e.programPath = "C:\\Program Files\\Office\\WINWORD.EXE";
        std::memcpy(e.markerText, "BOOT_AZ\xC4", 8);  // eight bytes, no terminator
        e.processId = c.processId;
        e.date = c.date;
        e.time = c.time;
        e.size = c.size;
        e.extra = c.extra;

        auto entries = parseFileReport(serializeFileReportEntry(e));
        ASSERT_EQ(entries.size(), 1u);
        const FileReportEntry& read = entries[0];
        EXPECT_EQ(read.path, "c:\\docs\\report [final] @z.doc");  // '@' and '[' border A-Z
        EXPECT_STREQ(read.programName, "winword9");  // all eight bytes, then the terminator
        EXPECT_EQ(read.programPath, "c:\\program files\\office\\winword.exe");
        EXPECT_EQ(read.otherPath, "c:\\undo bin\\abc.und");
        EXPECT_EQ(std::string(read.markerText), "boot_az\xC4");
        EXPECT_EQ(read.processId, c.processId);
        EXPECT_EQ(read.date, c.date);
        EXPECT_EQ(read.time, c.time);
        EXPECT_EQ(read.size, c.size);
        EXPECT_EQ(read.extra, c.extra);
        EXPECT_EQ(read.kind, c.kind);
    }
}

TEST(FileReport, APathEndsAtItsFirstZeroByte) {
    auto entries = parseFileReport(serializeFileReportEntry(entry(kindCreate, std::string("c:\\a.txt\0junk", 13))));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "c:\\a.txt");
}

TEST(FileReport, KeepsTheOtherPathAsWrittenBesideItsLowerCaseForm) {
    auto entries = parseFileReport(
        serializeFileReportEntry(entry(kindModify, "C:\\Docs\\A.TXT", "winword", "C:\\Undo\\0000001F.sav")));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].otherPath, "c:\\undo\\0000001f.sav");
    EXPECT_EQ(entries[0].otherPathAsWritten, "C:\\Undo\\0000001F.sav");
}

TEST(FileReport, AnEmptyReportHasNoEntries) { EXPECT_TRUE(parseFileReport("").empty()); }

TEST(FileReport, AThirdEntryCutShortAnywhereLeavesTheFirstTwo) {
    const FileReportEntry third = entry(kindRename, "c:\\c", "notepad", "c:\\d", 3);
    const std::string bytes = encode(
        {entry(kindCreate, "c:\\a", "notepad", "", 1), entry(kindModify, "c:\\b", "notepad", "c:\\bin\\1", 2), third});
    const size_t firstTwo = bytes.size() - serializeFileReportEntry(third).size();
    for (size_t cut = firstTwo + 1; cut < bytes.size(); ++cut) {
        auto entries = parseFileReport(std::string_view(bytes).substr(0, cut));
        ASSERT_EQ(entries.size(), 2u) << cut;
        EXPECT_EQ(sizesOf(entries), (std::vector<uint32_t>{1, 2})) << cut;
    }
    EXPECT_EQ(parseFileReport(bytes).size(), 3u);
}

TEST(FileReport, DamageInTheThirdEntryNeverReachesTheFirstTwo) {
    const FileReportEntry third = entry(kindRename, "c:\\c", "notepad", "c:\\d", 3);
    const std::string bytes = encode(
        {entry(kindCreate, "c:\\a", "notepad", "", 1), entry(kindModify, "c:\\b", "notepad", "c:\\bin\\1", 2), third});
    const size_t firstTwo = bytes.size() - serializeFileReportEntry(third).size();
    for (size_t at = firstTwo; at < bytes.size(); ++at)
        for (char flip : {'\x01', '\x80', '\xFF'}) {
            std::string damaged = bytes;
            damaged[at] ^= flip;
            auto entries = parseFileReport(damaged);
            ASSERT_GE(entries.size(), 2u) << at;
            EXPECT_EQ(pathsOf(entries)[1], "c:\\b") << at;
            EXPECT_EQ(sizesOf(entries)[1], 2u) << at;
        }
}

TEST(FileReport, AHugeLengthEndsTheReadingWithoutReachingOutsideTheReport) {
    const std::vector<FileReportEntry> entries{entry(kindCreate, "c:\\a", "notepad", "", 1),
                                               entry(kindModify, "c:\\b", "notepad", "c:\\bin\\1", 2),
                                               entry(kindCreate, "c:\\c", "notepad", "", 3)};
    const size_t second = serializeFileReportEntry(entries[0]).size();
    const size_t third = second + serializeFileReportEntry(entries[1]).size();
    const std::string bytes = encode(entries);
    const FileReportEntry& e = entries[1];
    const size_t lengthFields[] = {0, 12 + e.path.size(), 36 + e.path.size() + e.programPath.size()};  // L1 to L3
    const uint32_t hugeLengths[] = {0xFFFFFFFF, 0xFFFFFFFC, 0xFFFFFFD0, 0x80000000, uint32_t(bytes.size() - second)};
    for (size_t field : lengthFields)
        for (uint32_t length : hugeLengths) {
            std::string damaged = bytes;
            putLe32(damaged, second + field, length);
            EXPECT_EQ(parseFileReport(damaged).size(), 1u) << field << " " << length;
        }
    std::string damaged = bytes;
    putLe32(damaged, third, 0xFFFFFFFF);
    EXPECT_EQ(parseFileReport(damaged).size(), 2u);
}

TEST(FileReport, AnEntryWithAStringTooLongIsSkippedAndTheEntriesBehindItAreRead) {
    const std::string longest(259, 'a'), tooLong(260, 'a');
    struct {
        std::string path, programPath, otherPath;
        bool kept;
    } cases[] = {
        {longest, longest, longest, true},
        {tooLong, "p", "", false},
        {"c:\\x", tooLong, "", false},
        {"c:\\x", "p", tooLong, false},
        {std::string(100000, 'b'), "p", "", false},
    };
    for (auto& c : cases) {
        FileReportEntry middle = entry(kindModify, c.path, "notepad", c.otherPath, 2);
        middle.programPath = c.programPath;
        auto entries = parseFileReport(encode(
            {entry(kindCreate, "c:\\a", "notepad", "", 1), middle, entry(kindCreate, "c:\\c", "notepad", "", 3)}));
        EXPECT_EQ(sizesOf(entries), (c.kept ? std::vector<uint32_t>{1, 2, 3} : std::vector<uint32_t>{1, 3}))
            << c.path.size() << " " << c.programPath.size() << " " << c.otherPath.size();
    }
}

TEST(FileReport, AnEntryTooLongAndCutShortEndsTheReading) {
    const std::string bytes =
        encode({entry(kindCreate, "c:\\a", "notepad", "", 1), entry(kindCreate, std::string(300, 'b'))});
    EXPECT_EQ(parseFileReport(std::string_view(bytes).substr(0, bytes.size() - 1)).size(), 1u);
}

TEST(FileReportProcessing, ExplorerCopyingIntoAnotherFolderIsOneCopy) {
    auto entries = processed({entry(kindCreate, "c:\\b\\x.doc", "explorer")});
    EXPECT_EQ(kindsOf(entries), std::vector<int32_t>{kindCopy});
    EXPECT_EQ(pathsOf(entries), std::vector<std::string>{"c:\\b\\x.doc"});
}

TEST(FileReportProcessing, OnlyExplorerCreatesAreCopies) {
    auto entries =
        processed({entry(kindCreate, "c:\\b\\x.doc", "explorex"), entry(kindCreate, "c:\\b\\y.doc", "EXPLORER"),
                   entry(kindModify, "c:\\b\\z.doc", "explorer")});
    EXPECT_EQ(kindsOf(entries), (std::vector<int32_t>{kindCreate, kindCopy, kindModify}));
}

TEST(FileReportProcessing, ExplorerMovingAFileIsOneMoveFromTheSourceWithItsSize) {
    FileReportEntry created = entry(kindCreate, "c:\\b\\x.doc", "explorer", "", 0);
    created.processId = 77;
    auto entries = processed({created, entry(kindDelete, "c:\\a\\x.doc", "explorer", "c:\\bin\\9", 4096),
                              entry(kindModify, "c:\\z", "notepad", "", 5)});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, kindMove);
    EXPECT_EQ(entries[0].path, "c:\\a\\x.doc");
    EXPECT_EQ(entries[0].otherPath, "c:\\b\\x.doc");
    EXPECT_EQ(entries[0].size, 4096u);
    EXPECT_EQ(entries[0].processId, 77u);
    EXPECT_EQ(entries[1].path, "c:\\z");
}

TEST(FileReportProcessing, ACreateAndDeleteThatAreNoMovePairStayApart) {
    struct {
        FileReportEntry created, deleted;
    } cases[] = {
        {entry(kindCreate, "c:\\a\\x.doc", "explorer"), entry(kindDelete, "c:\\a\\x.doc", "explorer")},  // same folder
        {entry(kindCreate, "c:\\b\\x.doc", "explorer"), entry(kindDelete, "c:\\a\\y.doc", "explorer")},  // other name
        {entry(kindCreate, "c:\\b\\x.doc", "explorer"), entry(kindDelete, "c:\\a\\x.doc", "notepad")},
        {entry(kindCreate, "c:\\b\\x.doc", "explorer"), entry(kindRecycle, "c:\\a\\x.doc", "explorer")},
    };
    for (auto& c : cases) {
        auto entries = processed({c.created, c.deleted});
        EXPECT_EQ(kindsOf(entries), (std::vector<int32_t>{kindCopy, c.deleted.kind})) << c.deleted.path;
        EXPECT_EQ(pathsOf(entries), (std::vector<std::string>{c.created.path, c.deleted.path}));
    }
}

TEST(FileReportProcessing, ARenameKeepingTheFileNameIsAMove) {
    auto entries = processed({entry(kindRename, "c:\\a\\x.doc", "winword", "c:\\b\\x.doc"),
                              entry(kindRename, "c:\\a\\x.doc", "winword", "c:\\a\\y.doc"),
                              entry(kindRename, "C:\\A\\X.DOC", "winword", "c:\\b\\x.doc")});
    EXPECT_EQ(kindsOf(entries), (std::vector<int32_t>{kindMove, kindRename, kindMove}));
    EXPECT_EQ(entries[0].otherPath, "c:\\b\\x.doc");
}

TEST(FileReportProcessing, DeletingARecycledFileDeletesItsFormerPathRecycledInTheReport) {
    auto entries = processed({entry(kindRecycle, "c:\\docs\\a.txt", "explorer", "c:\\recycled\\dc1.txt"),
                              entry(kindRecycle, "c:\\docs\\b.txt", "explorer", "c:\\recycled\\dc1.txt"),
                              entry(kindDelete, "c:\\recycled\\dc1.txt", "explorer"),
                              entry(kindDelete, "c:\\recycled\\dc2.txt", "explorer"),
                              entry(kindRecycle, "c:\\docs\\c.txt", "explorer", "c:\\recycled\\dc2.txt")});
    EXPECT_EQ(pathsOf(entries), (std::vector<std::string>{"c:\\docs\\a.txt", "c:\\docs\\b.txt", "c:\\docs\\a.txt",
                                                          "c:\\docs\\c.txt", "c:\\docs\\c.txt"}));
    EXPECT_EQ(entries[2].kind, kindDelete);
}

TEST(FileReportProcessing, DeletingARecycledFileDeletesItsFormerPathFromTheNewestHistoryRecycle) {
    ActionRecord modify = recycleRecord("c:\\docs\\wrong.txt", "c:\\recycled\\dc1.txt");
    modify.kind = kindModify;
    const std::vector<ActionRecord> history{recycleRecord("c:\\docs\\old.txt", "C:\\Recycled\\DC1.TXT"),
                                            recycleRecord("C:\\Docs\\New.txt", "C:\\RECYCLED\\DC1.TXT"), modify,
                                            recycleRecord("c:\\docs\\other.txt", "c:\\recycled\\dc2.txt")};
    auto entries = processed({entry(kindDelete, "c:\\recycled\\dc1.txt", "explorer"),
                              entry(kindDelete, "c:\\recycled\\dc3.txt", "explorer")},
                             history);
    EXPECT_EQ(pathsOf(entries), (std::vector<std::string>{"C:\\Docs\\New.txt", "c:\\recycled\\dc3.txt"}));

    auto fromReport = processed({entry(kindRecycle, "c:\\docs\\here.txt", "explorer", "c:\\recycled\\dc1.txt"),
                                 entry(kindDelete, "c:\\recycled\\dc1.txt", "explorer")},
                                history);
    EXPECT_EQ(fromReport[1].path, "c:\\docs\\here.txt");  // the report before the history
}

TEST(FileReportProcessing, ACreatedFileTakesItsSizeFromTheNextEntryForItsPathElseFromTheDisk) {
    Disk disk{{{"c:\\kept.txt", 1234}, {"c:\\later.txt", 55}}, {}};
    auto entries = processed(
        {entry(kindCreate, "c:\\a.txt", "notepad", "", 0), entry(kindCreate, "c:\\kept.txt", "notepad", "", 0),
         entry(kindCreate, "c:\\sized.txt", "notepad", "", 9), entry(kindCreate, "c:\\later.txt", "notepad", "", 8),
         entry(kindModify, "c:\\b.txt", "notepad", "", 1), entry(kindModify, "C:\\A.TXT", "notepad", "", 700),
         entry(kindModify, "c:\\a.txt", "notepad", "", 800), entry(kindModify, "c:\\later.txt", "notepad", "", 0)},
        {}, &disk);
    EXPECT_EQ(sizesOf(entries), (std::vector<uint32_t>{700, 1234, 9, 55, 1, 700, 800, 0}));
    // later.txt takes 0 from its next entry in both passes, so the disk is asked twice.
    EXPECT_EQ(disk.asked, (std::vector<std::string>{"c:\\kept.txt", "c:\\later.txt", "c:\\later.txt"}));
}

TEST(FileReportProcessing, TheSecondPassSizesCopiesAndSeesTheFirstPassPaths) {
    Disk disk;
    const std::vector<ActionRecord> history{recycleRecord("c:\\docs\\r.txt", "c:\\recycled\\dc1.txt")};
    auto entries = processed(
        {entry(kindCreate, "c:\\b\\x.doc", "explorer", "", 0), entry(kindCreate, "c:\\c\\x.doc", "explorer", "", 0),
         entry(kindDelete, "c:\\b\\x.doc", "explorer", "", 300), entry(kindCreate, "c:\\docs\\r.txt", "notepad", "", 0),
         entry(kindDelete, "c:\\recycled\\dc1.txt", "explorer", "", 900)},
        history, &disk);
    EXPECT_EQ(kindsOf(entries), (std::vector<int32_t>{kindCopy, kindMove, kindCreate, kindDelete}));
    // The copy finds the move's source path; the create finds the mapped delete.
    EXPECT_EQ(sizesOf(entries), (std::vector<uint32_t>{300, 300, 900, 900}));
}

TEST(FileReportProcessing, TheSecondPassReadsTheLaterEntriesBeforeItChangesThem) {
    auto entries =
        processed({entry(kindCreate, "c:\\x", "explorer", "", 5), entry(kindCreate, "c:\\x", "explorer", "", 7),
                   entry(kindModify, "c:\\x", "notepad", "", 9)});
    EXPECT_EQ(sizesOf(entries), (std::vector<uint32_t>{7, 9, 9}));
}

namespace {

// The processing as a plain reading of its rules: every lookup a scan, every
// removal an erase. The indexed version must agree with it on any report.
void referenceProcessing(std::vector<FileReportEntry>& e, std::span<const ActionRecord> history,
                         const std::function<uint32_t(const std::string&)>& sizeOf) {
    auto lower = [](std::string s) {
        for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        return s;
    };
    auto name = [](const std::string& p) { return p.substr(p.rfind('\\') + 1); };
    auto folder = [](const std::string& p) {
        return p.rfind('\\') == std::string::npos ? "" : p.substr(0, p.rfind('\\'));
    };
    auto explorer = [](const FileReportEntry& x) { return std::string(x.programName) == "explorer"; };
    auto pair = [&](size_t i) {
        return i + 1 < e.size() && e[i].kind == kindCreate && e[i + 1].kind == kindDelete && explorer(e[i]) &&
               explorer(e[i + 1]) && name(e[i].path) == name(e[i + 1].path) &&
               folder(e[i].path) != folder(e[i + 1].path);
    };
    auto size = [&](size_t i) {
        for (size_t j = i + 1; j < e.size(); ++j)
            if (e[j].path == e[i].path) {
                e[i].size = e[j].size;
                break;
            }
        if (e[i].size == 0) e[i].size = sizeOf(e[i].path);
    };
    for (size_t i = 0; i < e.size(); ++i) {
        if (e[i].kind == kindCreate && explorer(e[i]) && !pair(i)) e[i].kind = kindCopy;
        if (e[i].kind == kindRename && name(e[i].path) == name(e[i].otherPath)) e[i].kind = kindMove;
        if (pair(i)) {
            e[i].kind = kindMove;
            e[i].otherPath = e[i].path;
            e[i].path = e[i + 1].path;
            e[i].size = e[i + 1].size;
            e.erase(e.begin() + ptrdiff_t(i) + 1);
        }
        if (e[i].kind == kindDelete) {
            bool found = false;
            for (auto& r : e)
                if (r.kind == kindRecycle && r.otherPath == e[i].path) {
                    e[i].path = r.path;
                    found = true;
                    break;
                }
            for (size_t h = history.size(); !found && h-- > 0;)
                if (history[h].kind == kindRecycle && lower(history[h].dataC) == e[i].path) {
                    e[i].path = history[h].dataA;
                    found = true;
                }
        }
        if (e[i].kind == kindCreate) size(i);
    }
    for (size_t i = 0; i < e.size(); ++i)
        if (e[i].kind == kindCreate || e[i].kind == kindCopy) size(i);
}

}  // namespace

TEST(FileReportProcessing, AgreesWithAPlainScanOnRandomReports) {
    std::mt19937 random(20240611);
    const char* folders[] = {"c:\\a", "c:\\b", "c:\\recycled"};
    const char* names[] = {"x.doc", "y.doc", "dc1.txt"};
    const int32_t kinds[] = {kindCreate, kindDelete, kindRename, kindModify, kindRecycle};
    auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    auto path = [&] { return std::string(pick(folders)) + "\\" + pick(names); };
    for (int round = 0; round < 2000; ++round) {
        std::vector<FileReportEntry> report;
        for (int n = int(random() % 12); n > 0; --n)
            report.push_back(entry(pick(kinds), path(), random() % 3 ? "explorer" : "notepad", path(), random() % 3));
        std::vector<ActionRecord> history;
        for (int n = int(random() % 4); n > 0; --n) history.push_back(recycleRecord(path() + "!", path()));
        auto sizeOf = [](const std::string& p) { return uint32_t(p.size()); };

        auto expected = report;
        referenceProcessing(expected, history, sizeOf);
        postProcessFileReport(report, recycledFrom(history), sizeOf);
        ASSERT_EQ(report.size(), expected.size()) << round;
        for (size_t i = 0; i < report.size(); ++i) {
            EXPECT_EQ(report[i].kind, expected[i].kind) << round << " " << i;
            EXPECT_EQ(report[i].path, expected[i].path) << round << " " << i;
            EXPECT_EQ(report[i].otherPath, expected[i].otherPath) << round << " " << i;
            EXPECT_EQ(report[i].size, expected[i].size) << round << " " << i;
        }
    }
}
