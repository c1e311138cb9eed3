#include "engine/redo_list.h"

#include <gtest/gtest.h>

#include "tests/database/record_builder.h"

namespace {
RedoEntry keeping(const std::string& keptPath) { return {ActionRecord{}, keptPath, {}}; }

ActionRecord withPaths(int32_t kind) {
    ActionRecord record = RecordBuilder("winword", 7, kind).paths("c:\\docs\\a.doc", "c:\\docs\\b.doc");
    record.dataC = "c:\\retrace\\undo bin\\0000002a.sav";
    return record;
}
}  // namespace

TEST(FileToKeepForRedo, IsTheMadeFileOrTheSavedCopyAndNothingForOtherKinds) {
    EXPECT_EQ(fileToKeepForRedo(withPaths(kindCreate)), "c:\\docs\\a.doc");
    EXPECT_EQ(fileToKeepForRedo(withPaths(kindCopy)), "c:\\docs\\a.doc");
    EXPECT_EQ(fileToKeepForRedo(withPaths(kindDelete)), "c:\\retrace\\undo bin\\0000002a.sav");
    EXPECT_EQ(fileToKeepForRedo(withPaths(kindModify)), "c:\\retrace\\undo bin\\0000002a.sav");
    for (int32_t kind : {int32_t(kindRename), int32_t(kindRecycle), int32_t(kindBootMarker), int32_t(kindMove), 10, 99})
        EXPECT_EQ(fileToKeepForRedo(withPaths(kind)), "") << kind;
}

TEST(KeptFileName, TwoFilesOfOneNameInTwoFoldersKeepNamesOfTheirOwn) {
    std::vector<RedoEntry> entries;
    EXPECT_EQ(keptFileName("report.doc", entries), "report.doc");
    entries.push_back(keeping("C:\\Bin\\Redo\\report.doc"));
    EXPECT_EQ(keptFileName("REPORT.DOC", entries), "REPORT (2).DOC");
    entries.push_back(keeping("C:\\Bin\\Redo\\report (2).doc"));
    EXPECT_EQ(keptFileName("report.doc", entries), "report (3).doc");
    EXPECT_EQ(keptFileName("README", {keeping("C:\\Bin\\Redo\\README")}), "README (2)");
    // An entry that kept nothing takes no name.
    EXPECT_EQ(keptFileName("notes.txt", {keeping("")}), "notes.txt");
}
