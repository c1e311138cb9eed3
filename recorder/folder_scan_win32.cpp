#include "recorder/folder_scan_win32.h"

#include <windows.h>

namespace {

uint64_t fileTimeValue(const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

HANDLE openFolder(const std::string& folder, DWORD flags = 0) {
    return CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

bool underWine() {
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// Wine keeps a record of every folder it watches for a watch over a
// subtree. When such a watch ends while something else still watches its
// top folder (the Wine desktop watches the Desktop), the records of the
// folders two levels down and deeper stay behind, cut off from their
// parents, and no later watch hears from those folders again. Watching a
// folder for a moment and letting go makes Wine drop its record, so that
// the opening that follows links it afresh.
void dropWineRecord(const std::string& folder) {
    HANDLE handle = openFolder(folder, FILE_FLAG_OVERLAPPED);
    if (handle == INVALID_HANDLE_VALUE) return;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD buffer[16];
    if (ReadDirectoryChangesW(handle, buffer, sizeof buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                              &overlapped, nullptr))
        CancelIo(handle);
    CloseHandle(handle);
    CloseHandle(overlapped.hEvent);
}

// Wine reports changes in a folder that existed before a subtree watch
// began only once a handle to it has been opened, top-down.
void touchFolder(const std::string& folder) {
    if (underWine()) dropWineRecord(folder);
    HANDLE handle = openFolder(folder);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

void listInto(const std::string& folder, bool recursive, const char* pattern,
              const std::function<bool(std::string_view)>& excluded, TreeListing& listing) {
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

TreeListing listFolderTree(const std::string& folder, bool recursive, const char* pattern,
                             const std::function<bool(std::string_view)>& excluded) {
    TreeListing listing;
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

uint64_t fileIdentity(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information;
    bool known = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!known) return 0;
    return uint64_t(information.dwVolumeSerialNumber & 0xFFFF) << 48 ^
           (uint64_t(information.nFileIndexHigh) << 32 | information.nFileIndexLow);
}
