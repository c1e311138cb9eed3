#include <gtest/gtest.h>

#include "base/paths.h"

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

TEST(FileNameOf, TakesTheTextAfterTheLastBackslash) {
    EXPECT_EQ(fileNameOf("C:\\Docs\\report.doc"), "report.doc");
    EXPECT_EQ(fileNameOf("C:\\Docs\\"), "");
    EXPECT_EQ(fileNameOf("report.doc"), "report.doc");
}

TEST(SplitExtension, CutsAtTheFileNamesLastDotOnly) {
    struct { const char* path; const char* stem; const char* extension; } cases[] = {
        {"C:\\Docs\\report.doc", "C:\\Docs\\report", ".doc"},
        {"C:\\Docs\\report.final.doc", "C:\\Docs\\report.final", ".doc"},
        {"C:\\Docs.old\\README", "C:\\Docs.old\\README", ""},
        {"C:\\Docs\\.profile", "C:\\Docs\\", ".profile"},
        {"C:\\Docs\\trailing.", "C:\\Docs\\trailing", "."},
        {"notes.txt", "notes", ".txt"},
        {"", "", ""},
    };
    for (auto& c : cases) {
        PathStem parts = splitExtension(c.path);
        EXPECT_EQ(parts.stem, c.stem) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}
