#include "base/file_operations_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "base/paths.h"

namespace {
std::optional<WIN32_FIND_DATAA> findEntry(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    return found;
}
}  // namespace

bool fileExists(const std::string& path) { return findEntry(path).has_value(); }

bool folderExists(const std::string& path) {
    auto found = findEntry(path);
    return found && (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string folderOf(const std::string& path) { return folderOf(path, folderExists); }

uint32_t fileSizeOf(const std::string& path) {
    auto found = findEntry(path);
    return found ? found->nFileSizeLow : 0;
}

FolderListing listFolder(const std::string& folder) {
    FolderListing listing;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return listing;
    do {
        uint64_t size = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
        listing.size += size;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        listing.fileNames.emplace_back(found.cFileName);
        listing.fileSizes.push_back(size);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return listing;
}

std::vector<std::string> filesIn(const std::string& folder) { return listFolder(folder).fileNames; }

uint64_t folderSize(const std::string& folder) { return listFolder(folder).size; }

namespace {
bool openWithShell(const std::string& path) {
    // ShellExecute's result is an error code when 32 or less.
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOW));
    return result > 32;
}
}  // namespace

void openFileOrFolder(const std::string& path, bool tryFile) {
    if (path.empty()) return;
    if (tryFile && openWithShell(path)) return;
    openWithShell(folderOf(path));
}
