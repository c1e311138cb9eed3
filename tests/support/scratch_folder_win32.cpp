#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "base/text.h"
#include "engine/file_transfer_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/settings_key_win32.h"

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
    // A new prefix has no settings key until a test installs one, and a
    // save never creates it.
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    else
        installDefaultSettingsKey();
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, folder);
    saveSettings(settings);
}

void putFile(const std::string& path, const std::string& content) {
    ASSERT_TRUE(writeWholeFile(path, content)) << path;
}

std::optional<std::string> bytesOf(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char piece[65536];
    DWORD read = 0;
    bool whole = true;
    while ((whole = ReadFile(file, piece, sizeof piece, &read, nullptr)) && read > 0) bytes.append(piece, read);
    CloseHandle(file);
    if (!whole) return std::nullopt;
    return bytes;
}

std::string contentOf(const std::string& path) { return bytesOf(path).value_or("<missing>"); }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
