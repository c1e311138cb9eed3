#include "browse/file_operations_win32.h"

#include <windows.h>

#include <optional>

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

uint32_t fileSizeOf(const std::string& path) {
    auto found = findEntry(path);
    return found ? found->nFileSizeLow : 0;
}
