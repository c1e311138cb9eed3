#include "recorder/folder_scan_win32.h"

#include <windows.h>

namespace {

uint64_t fileTimeValue(const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

void touchFolder(const std::string& folder) {
    HANDLE handle = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

void listInto(const std::string& folder, bool recursive, const char* pattern,
              const std::function<bool(std::string_view)>& excluded, FolderListing& listing) {
    touchFolder(folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> subfolders;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if (excluded(path)) continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        listing.emplace_back(path, CatalogEntry{uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow,
                                                fileTimeValue(found.ftLastWriteTime), isFolder});
        if (isFolder && recursive) subfolders.push_back(std::move(path));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& subfolder : subfolders) listInto(subfolder, recursive, pattern, excluded, listing);
}

}  // namespace

FolderListing listFolderTree(const std::string& folder, bool recursive, const char* pattern,
                             const std::function<bool(std::string_view)>& excluded) {
    FolderListing listing;
    listInto(folder, recursive, pattern, excluded, listing);
    return listing;
}

bool entryOnDisk(const std::string& path, CatalogEntry& entry) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = entry.folder ? 0 : uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    entry.lastWrite = fileTimeValue(data.ftLastWriteTime);
    return true;
}
