#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "database/whole_file_win32.h"
#include "engine/file_transfer_win32.h"
#include "settings/settings_lists.h"
#include "settings/settings_store_win32.h"

ScratchFolder::ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name;
    deleteTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { deleteTree(path_); }

void deleteTree(const std::string& folder) {
    std::string from = folder + '\0';
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationA(&operation);
}

void useUndoBin(const std::string& folder) {
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, folder);
    saveSettings(settings);
}

void putFile(const std::string& path, const std::string& content) {
    ASSERT_TRUE(writeWholeFile(path, content)) << path;
}

std::string contentOf(const std::string& path) {
    WholeFile file = readWholeFile(path);
    if (file.status == FileReadStatus::Unreadable || !exists(path)) return "<missing>";
    return file.bytes;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
