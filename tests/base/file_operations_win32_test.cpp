// File questions against real files of the test machine.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "base/file_operations_win32.h"
#include "tests/support/window_search_win32.h"

namespace {
class FileOperations : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "Retrace File Questions";
        CreateDirectoryA(folder.c_str(), nullptr);
        file = folder + "\\sized.bin";
        std::ofstream(file, std::ios::binary) << std::string(4321, 'z');
    }

    void TearDown() override {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    std::string folder, file;
};
}  // namespace

TEST_F(FileOperations, AFileAndAFolderExistAndTheFileHasItsSize) {
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(fileExists(folder));
    EXPECT_EQ(fileSizeOf(file), 4321u);
    EXPECT_EQ(fileSizeOf(folder + "\\SIZED.BIN"), 4321u);
}

TEST_F(FileOperations, AMissingFileDoesNotExistAndHasSizeZero) {
    EXPECT_FALSE(fileExists(folder + "\\missing.bin"));
    EXPECT_EQ(fileSizeOf(folder + "\\missing.bin"), 0u);
    EXPECT_EQ(fileSizeOf(""), 0u);
}

TEST_F(FileOperations, ANameWithWildcardsNamesNoFileEvenWhenItWouldMatchOne) {
    for (const char* name : {"\\*.bin", "\\sized.b?n", "\\*"}) {
        EXPECT_FALSE(fileExists(folder + name)) << name;
        EXPECT_EQ(fileSizeOf(folder + name), 0u) << name;
    }
}

TEST_F(FileOperations, AFolderSizeSumsTheFilesDirectlyInItAndNotTheSubfoldersContents) {
    std::string subfolder = folder + "\\inner";
    CreateDirectoryA(subfolder.c_str(), nullptr);
    std::ofstream(subfolder + "\\deep.bin", std::ios::binary) << std::string(1000, 'd');

    EXPECT_EQ(folderSize(folder), 4321u);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"sized.bin"});

    DeleteFileA((subfolder + "\\deep.bin").c_str());
    EXPECT_EQ(folderSize(subfolder), 0u);  // empty
    RemoveDirectoryA(subfolder.c_str());
    EXPECT_EQ(folderSize(folder + "\\missing"), 0u);
}

TEST_F(FileOperations, AFolderOverFourGigabytesIsNotReadAsASmallOne) {
    std::string large = folder + "\\large.bin";
    HANDLE file = CreateFileA(large.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = (5LL << 30);  // sparse on the host: costs no disk
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);

    EXPECT_EQ(folderSize(folder), (5ULL << 30) + 4321u);
    DeleteFileA(large.c_str());
}

TEST_F(FileOperations, TheFolderOfAFolderIsItselfAndOfAFileTheFolderItIsIn) {
    EXPECT_TRUE(folderExists(folder));
    EXPECT_FALSE(folderExists(file));
    struct { std::string path, folder; } cases[] = {
        {folder, folder},
        {file, folder},
        {folder + "\\gone\\report.doc", folder + "\\gone"},
        {"report.doc", "report.doc"},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
}

namespace {
// Waits for the window the shell opened for the user, then closes it.
bool shellOpened(const char* className, const char* title) {
    HWND window = waitForWindow(className, title, 30000);
    if (!window) return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    waitUntil([&] { return !IsWindow(window); });
    return true;
}
}  // namespace

TEST_F(FileOperations, OpeningAFileShowsItInItsProgram) {
    std::string settingsFile = folder + "\\opened.ini";  // Notepad's, on every machine
    std::ofstream(settingsFile) << "[shown]";
    openFileOrFolder(settingsFile, true);
    EXPECT_TRUE(shellOpened("Notepad", "opened.ini - Notepad"));
    EXPECT_FALSE(FindWindowA("ExplorerWClass", "Retrace File Questions"));
    DeleteFileA(settingsFile.c_str());
}

TEST_F(FileOperations, AFileThatIsGoneOrNotToBeTriedShowsItsFolder) {
    openFileOrFolder(folder + "\\gone.txt", true);
    EXPECT_TRUE(shellOpened("ExplorerWClass", "Retrace File Questions"));
    openFileOrFolder(file, false);
    EXPECT_TRUE(shellOpened("ExplorerWClass", "Retrace File Questions"));
}
