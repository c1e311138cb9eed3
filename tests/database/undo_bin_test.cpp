#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/text.h"
#include "database/known_bin_files.h"
#include "database/undo_bin.h"

namespace {
ActionRecord fileRecord(int32_t kind, std::string dataC, int32_t source = sourceFileReport) {
    ActionRecord record;
    record.kind = kind;
    record.source = source;
    record.dataA = "c:\\docs\\file.txt";
    record.dataC = std::move(dataC);
    return record;
}

// The names of the files the sweep picks.
std::vector<std::string> swept(std::string_view binFolder, const std::vector<std::string>& names,
                               const std::vector<ActionRecord>& records) {
    std::vector<std::string> picked;
    for (size_t index : filesToSweep(binFolder, names, records)) picked.push_back(names.at(index));
    return picked;
}

ActionRecord bootMarker() {
    ActionRecord record;
    record.kind = kindBootMarker;
    record.setIsBootMarker(1);
    return record;
}
}  // namespace

TEST(UndoBinFolder, EmptyFoldersAndRootsOfDrivesAndSharesAreUnsafe) {
    struct { const char* folder; bool unsafe; } cases[] = {
        {"", true},           {"\\", true},          {"C:", true},
        {"C:\\", true},       {"c:/", true},         {"\\\\server\\share", true},
        {"\\\\server\\share\\", true},               {"\\\\server", true},
        {"C:\\Undo Bin", false},                     {"C:\\Undo Bin\\", false},
        {"\\\\server\\share\\bin", false},
    };
    for (auto& c : cases) EXPECT_EQ(isUnsafeBinFolder(c.folder), c.unsafe) << c.folder;
}

TEST(UndoBinSweep, DeletesWhatNoFileRecordNamesAndSparesBackupsTheListAndTheReports) {
    std::vector<ActionRecord> records{
        fileRecord(kindDelete, "C:\\BIN\\KEPT1.SAV"),
        fileRecord(kindModify, "c:\\bin\\kept2.sav"),
        fileRecord(kindRecycle, "c:\\bin\\kept3.sav"),                       // any file record counts
        fileRecord(kindRegistryFirst, "c:\\bin\\registry.sav", sourceRegistryReport),  // not a file record
    };
    std::vector<std::string> names{"kept1.sav",      "KEPT2.SAV",          "kept3.sav",
                                   "registry.sav",   "orphan.sav",         "filereport.000",
                                   "BACKUP actionlist.000", "backup.old", "Backup 2 actionlist.000",
                                   "actionlist.000", "ACTIONLIST.000.NEW", "back.sav",
                                   "REGREPORT.000"};
    std::vector<std::string> expected{"registry.sav", "orphan.sav", "back.sav"};
    EXPECT_EQ(swept("c:\\bin", names, records), expected);
    EXPECT_EQ(swept("c:\\bin\\", names, records), expected);  // a trailing backslash changes nothing
}

TEST(UndoBinSweep, SparesTheCopiesThatAListKeptAsideNamesAndKnowsSuchLists) {
    std::vector<ActionRecord> records{fileRecord(kindDelete, "c:\\bin\\current.sav")};
    std::vector<ActionRecord> keptAside{fileRecord(kindModify, "c:\\bin\\older.sav")};
    std::vector<std::string> names{"current.sav", "older.sav", "orphan.sav"};
    std::vector<std::string> picked;
    for (size_t index : filesToSweep("c:\\bin", names, records, keptAside)) picked.push_back(names[index]);
    EXPECT_EQ(picked, std::vector<std::string>{"orphan.sav"});

    struct { const char* name; bool isBackup; } cases[] = {
        {"BACKUP actionlist.000", true}, {"backup 2 ACTIONLIST.000", true}, {"BACKUP notes.txt", false},
        {"actionlist.000", false},       {"BACKUP", false},                 {"my BACKUP actionlist.000", false},
    };
    for (auto& c : cases) EXPECT_EQ(isActionListBackup(c.name), c.isBackup) << c.name;
}

TEST(UndoBinTrim, NeverDeletesACopyThatARecordBehindTheDroppedOnesNamesToo) {
    // A redone Delete names the saved copy of the undone one.
    std::vector<ActionRecord> records{bootMarker(), fileRecord(kindDelete, "c:\\bin\\a.sav"),
                                      fileRecord(kindModify, "c:\\bin\\b.sav"), fileRecord(kindCreate, ""),
                                      bootMarker(), fileRecord(kindDelete, "C:\\BIN\\A.SAV")};
    EXPECT_EQ(savedCopiesToDelete(records, 4), (std::vector<bool>{false, false, true, false}));
}

TEST(UndoBinSweep, AnEmptyHistoryNamesNothing) {
    std::vector<std::string> names{"a.sav"};
    EXPECT_EQ(filesToSweep("c:\\bin", names, {}), std::vector<size_t>{0});
}

TEST(UndoBinSweep, OnlyTheWholePathOfAFileDirectlyInTheBinNamesIt) {
    struct { const char* dataC; bool names; } cases[] = {
        {"C:\\Retrace\\Bin\\A.SAV", true},
        {"c:\\retrace\\bin\\a.sav", true},
        {"c:\\retrace\\bin\\\\a.sav", false},    // paths compare as text
        {"c:\\retrace\\bin\\sub\\a.sav", false},  // in a subfolder
        {"c:\\retrace\\bin2\\a.sav", false},
        {"c:\\retrace\\bi\\a.sav", false},
        {"d:\\retrace\\bin\\a.sav", false},
        {"c:\\retrace\\bin\\a.sa", false},
        {"c:\\retrace\\bin\\a.sav ", false},
        {"c:\\retrace\\bin\\", false},
        {"a.sav", false},
        {"c:\\retrace\\bina.sav", false},
    };
    std::vector<std::string> names{"a.sav"};
    for (auto& c : cases) {
        std::vector<ActionRecord> records{fileRecord(kindDelete, c.dataC)};
        EXPECT_EQ(filesToSweep("c:\\Retrace\\Bin", names, records).empty(), c.names) << c.dataC;
    }
}

TEST(OldestBootSession, EndsAtTheFirstBootMarkerAfterTheFirstRecord) {
    std::vector<ActionRecord> ten(10);
    ten[0] = bootMarker();
    ten[8] = bootMarker();
    EXPECT_EQ(oldestBootSessionEnd(ten), 8u);

    std::vector<ActionRecord> onlyFirst(5);
    onlyFirst[0] = bootMarker();
    EXPECT_EQ(oldestBootSessionEnd(onlyFirst), 0u);  // one session: nothing to drop

    std::vector<ActionRecord> markerFirstAndSecond{bootMarker(), bootMarker()};
    EXPECT_EQ(oldestBootSessionEnd(markerFirstAndSecond), 1u);
    EXPECT_EQ(oldestBootSessionEnd({}), 0u);

    // With the session behind it: up to the next marker, never past the last.
    EXPECT_EQ(nextBootSessionEnd(ten, 0), 8u);
    EXPECT_EQ(nextBootSessionEnd(ten, 8), 0u);
    EXPECT_EQ(nextBootSessionEnd(markerFirstAndSecond, 1), 0u);
}

TEST(SavedCopy, OnlyDeletesAndModifiesHaveOneInTheBin) {
    EXPECT_EQ(savedCopyOf(fileRecord(kindDelete, "c:\\bin\\a.sav")), "c:\\bin\\a.sav");
    EXPECT_EQ(savedCopyOf(fileRecord(kindModify, "c:\\bin\\b.sav")), "c:\\bin\\b.sav");
    EXPECT_EQ(savedCopyOf(fileRecord(kindRecycle, "c:\\recycled\\dc1.txt")), "");
    EXPECT_EQ(savedCopyOf(fileRecord(kindCreate, "c:\\x")), "");
}

TEST(BinFileNamedBy, IsTheNameAFileRecordGivesAFileDirectlyInTheBin) {
    struct { const char* binFolder; ActionRecord record; const char* name; } cases[] = {
        {"c:\\Retrace\\Bin", fileRecord(kindDelete, "C:\\RETRACE\\BIN\\0000001A.SAV"), "0000001A.SAV"},
        {"c:\\Retrace\\Bin\\", fileRecord(kindModify, "c:\\retrace\\bin\\a.sav"), "a.sav"},
        {"c:\\Retrace\\Bin", fileRecord(kindRecycle, "c:\\recycled\\dc1.txt"), ""},
        {"c:\\Retrace\\Bin", fileRecord(kindRegistryFirst, "c:\\retrace\\bin\\a.sav", sourceRegistryReport), ""},
        {"c:\\Retrace\\Bin", fileRecord(kindDelete, "c:\\retrace\\bin2\\a.sav"), ""},
    };
    for (auto& c : cases) EXPECT_EQ(binFileNamedBy(c.binFolder, c.record), c.name) << c.record.dataC;
}

TEST(KnownBinFiles, AddsUpTheFilesItKnowsOnceEachButNeverTheListFiles) {
    std::vector<std::string> names{"a.sav", "actionlist.000", "ActionList.000.new", "BACKUP 1.txt"};
    std::vector<uint64_t> sizes{10, 1000, 2000, 5'000'000'000};
    KnownBinFiles files;
    files.replace(names, sizes);
    EXPECT_EQ(files.size(), 5'000'000'010u);
    EXPECT_FALSE(files.contains("actionlist.000"));

    files.add("B.SAV", 7);
    files.add("b.sav", 7);  // one file, whatever the case
    EXPECT_EQ(files.size(), 5'000'000'017u);
    files.remove("A.SAV");
    files.remove("a.sav");
    files.remove("never.sav");
    EXPECT_EQ(files.size(), 5'000'000'007u);
    EXPECT_TRUE(files.contains("B.Sav"));

    files.replace({}, {});
    EXPECT_EQ(files.size(), 0u);
    EXPECT_FALSE(files.contains("b.sav"));
}

// Many adds and removes in any case, against a plain map: the table grows,
// and a removal moves up the files whose probe passed the one removed.
TEST(KnownBinFiles, KeepsWhatAMapOfTheSameFilesKeeps) {
    std::mt19937 random(7);
    std::map<std::string, uint64_t> expected;  // by lower-case name
    KnownBinFiles files;
    uint64_t expectedSize = 0;
    for (int step = 0; step < 20000; ++step) {
        std::string name = std::to_string(random() % 3000) + ".sav";
        if (random() % 2) name = toUpperAscii(name);
        const std::string key = toLowerAscii(name);
        if (random() % 3) {
            const uint64_t size = random() % 1000;
            files.add(name, size);
            if (expected.emplace(key, size).second) expectedSize += size;
        } else {
            files.remove(name);
            if (auto found = expected.find(key); found != expected.end()) {
                expectedSize -= found->second;
                expected.erase(found);
            }
        }
        ASSERT_EQ(files.size(), expectedSize) << step;
    }
    for (int n = 0; n < 3000; ++n) {
        const std::string name = std::to_string(n) + ".SAV";
        EXPECT_EQ(files.contains(name), expected.contains(toLowerAscii(name))) << name;
    }
}

TEST(UndoBinFolder, CountsAsABinOnlyWhenEmptyOrHoldingWhatABinIsMadeOf) {
    using Entries = std::vector<FolderEntry>;
    struct { Entries entries; bool bin; } cases[] = {
        {{}, true},
        {{{"actionlist.000"}, {"thesis.doc"}}, true},
        {{{"ACTIONLIST.000.NEW"}}, true},
        {{{"FileReport.000"}}, true},
        {{{"regreport.000"}, {"notes.txt"}}, true},
        {{{"BACKUP actionlist.000"}}, true},
        {{{"notes.txt"}, {"Redo", true}}, true},
        {{{"so", true}}, true},
        {{{"Staging", true}}, true},
        {{{"thesis.doc"}, {"notes.txt"}}, false},
        {{{"Redo"}}, false},                      // a file, not the folder
        {{{"actionlist.000", true}}, false},      // a folder, not the list
        {{{"Pictures", true}, {"notes.txt"}}, false},
        {{{"actionlist.001"}, {"filereport.000.old"}}, false},
    };
    for (size_t index = 0; index < std::size(cases); ++index)
        EXPECT_EQ(countsAsUndoBin(cases[index].entries), cases[index].bin) << "case " << index;
}

TEST(SavedCopyPath, IsInTheBinOnlyDirectlyInItOrItsRedoFolder) {
    struct { const char* bin; const char* path; bool inside; } cases[] = {
        {"C:\\Undo Bin", "C:\\Undo Bin\\a1b2.sav", true},
        {"C:\\Undo Bin\\\\", "c:\\undo bin\\A1B2.SAV", true},  // trailing backslashes, case
        {"C:\\Undo Bin", "C:\\Undo Bin\\Redo\\report.doc", true},
        {"C:\\Undo Bin", "C:\\Undo Bin\\redo\\report.doc", true},
        {"\\\\server\\share\\bin", "\\\\SERVER\\share\\bin\\x.sav", true},
        {"C:\\Undo Bin", "C:\\marker.txt", false},
        {"C:\\Undo Bin", "C:\\Retrace\\marker.txt", false},
        {"C:\\Undo Bin", "C:\\Undo Bin", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\x.sav\\", false},
        {"C:\\Undo Bin", "C:\\Undo Bin2\\x.sav", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\..\\marker.txt", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\Redo\\..\\..\\marker.txt", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\..", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\.. ", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\x.sav.", false},
        {"C:\\Undo Bin", "C:\\Undo Bin/../marker.txt", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\sub\\x.sav", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\Redo\\sub\\x.sav", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\x.sav:stream", false},
        {"C:\\Undo Bin", "C:\\Undo Bin\\*.sav", false},
        {"C:\\Undo Bin", "C:\\UNDOBI~1\\x.sav", false},  // a short name is another spelling
        {"C:\\Undo Bin", "D:\\Undo Bin\\x.sav", false},
        {"C:\\Undo Bin", "\\\\server\\share\\Undo Bin\\x.sav", false},
        {"C:\\Undo Bin", "\\\\?\\C:\\Undo Bin\\x.sav", false},
        {"C:\\Undo Bin", "Undo Bin\\x.sav", false},
        {"C:\\Undo Bin", "C:Undo Bin\\x.sav", false},
        {"Undo Bin", "Undo Bin\\x.sav", false},  // a relative bin names nothing
        {"C:\\", "C:\\x.sav", false},            // nor the root of a drive
        {"", "\\x.sav", false},
        {"\\\\server\\share", "\\\\server\\share\\x.sav", false},
    };
    for (auto& c : cases) EXPECT_EQ(isSavedCopyInBin(c.bin, c.path), c.inside) << c.bin << " | " << c.path;
}
