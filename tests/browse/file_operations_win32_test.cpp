// File questions against real files of the test machine.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "browse/file_operations_win32.h"

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
