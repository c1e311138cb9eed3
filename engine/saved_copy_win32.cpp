#include "engine/saved_copy_win32.h"

#include "database/undo_bin_win32.h"
#include "database/whole_file_win32.h"
#include "engine/saved_copy.h"

std::optional<std::string> readSavedCopy(const std::string& savedPath) {
    if (!isSavedCopyInUndoBin(savedPath)) return std::nullopt;
    WholeFile file = readWholeFile(savedPath);
    if (file.status != FileReadStatus::Read) return std::nullopt;
    return decodeSavedCopy(file.bytes);
}
