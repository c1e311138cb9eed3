#include "engine/saved_copy_win32.h"

#include "base/whole_file_win32.h"
#include "database/undo_bin_win32.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"

std::optional<std::string> readSavedCopy(const std::string& savedPath) {
    if (!isSavedCopyInUndoBin(savedPath)) return std::nullopt;
    WholeFile file = readWholeFile(savedPath);
    if (file.status != FileReadStatus::Read) return std::nullopt;
    return decodeSavedCopy(file.bytes);
}

bool savedCopyReadable(const std::string& savedPath) { return peekSavedCopy(savedPath, 0).complete; }

SavedCopyStart peekSavedCopy(const std::string& savedPath, size_t limit) {
    if (!isSavedCopyInUndoBin(savedPath)) return {};
    WholeFile file = readWholeFileQuietly(savedPath);
    if (file.status != FileReadStatus::Read) return {};
    return readSavedCopyStart(std::string_view(file.bytes), limit);
}
