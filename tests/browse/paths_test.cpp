#include <gtest/gtest.h>

#include "browse/paths.h"

TEST(ContainingFolder, CutsAtTheLastBackslashAndLeavesABareNameAlone) {
    struct { const char* path; const char* folder; } cases[] = {
        {"C:\\Docs\\report.doc", "C:\\Docs"},
        {"C:\\report.doc", "C:"},
        {"C:\\Docs\\", "C:\\Docs"},
        {"\\report.doc", ""},
        {"report.doc", "report.doc"},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(containingFolder(c.path), c.folder) << c.path;
}

TEST(FolderOf, GivesAnExistingFolderItselfAndAsksNothingOfAnEmptyPath) {
    auto docsIsAFolder = [](const std::string& path) { return path == "C:\\Docs"; };
    EXPECT_EQ(folderOf("C:\\Docs", docsIsAFolder), "C:\\Docs");
    EXPECT_EQ(folderOf("C:\\Docs\\report.doc", docsIsAFolder), "C:\\Docs");
    EXPECT_EQ(folderOf("C:\\report.doc", docsIsAFolder), "C:");
    EXPECT_EQ(folderOf("report.doc", docsIsAFolder), "report.doc");
    EXPECT_EQ(folderOf("", [](const std::string&) -> bool { throw "asked"; }), "");
}

TEST(FileBeside, NamesAFileInTheFolderOfThePath) {
    EXPECT_EQ(fileBeside("C:\\Program Files\\Retrace\\retrace.exe", "Retrace.hlp"),
              "C:\\Program Files\\Retrace\\Retrace.hlp");
    EXPECT_EQ(fileBeside("C:\\retrace.exe", "Retrace.hlp"), "C:\\Retrace.hlp");
}
