#include "database/undo_bin_win32.h"

#include <windows.h>

#include <string>

#include "browse/file_operations_win32.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/undo_bin.h"
#include "settings/settings_store_win32.h"

namespace {

// The bin folder when upkeep may act on it, else "".
std::string maintainableBinFolder() {
    Settings settings;
    loadSettings(settings);
    if (isUnsafeBinFolder(settings.UndoBinPath) || actionListFileUnread()) return "";
    return settings.UndoBinPath;
}

bool trimOldestBootSessionIn(const std::string& binFolder) {
    if (binFolder.empty()) return false;
    size_t end = oldestBootSessionEnd(actionList);
    if (end == 0) return false;
    for (size_t index = 0; index < end; ++index) deleteSavedCopy(int(index));
    actionList.erase(actionList.begin(), actionList.begin() + ptrdiff_t(end));
    return true;
}

}  // namespace

void deleteSavedCopy(int index) {
    std::string_view savedCopy = savedCopyOf(actionList[size_t(index)]);
    if (!savedCopy.empty()) DeleteFileA(std::string(savedCopy).c_str());
}

void sweepUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return;
    for (const std::string& path : filesToSweep(binFolder, filesIn(binFolder), actionList))
        DeleteFileA(path.c_str());
}

bool trimOldestBootSession() { return trimOldestBootSessionIn(maintainableBinFolder()); }

void maintainUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return;
    sweepUndoBin();
    Settings settings;
    loadSettings(settings);
    while (folderSize(binFolder) > settings.UndoBinSize)
        if (!trimOldestBootSessionIn(binFolder)) break;
}

void emptyUndoBin() {
    std::string binFolder = maintainableBinFolder();
    while (trimOldestBootSessionIn(binFolder)) {
    }
}
