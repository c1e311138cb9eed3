#include "database/undo_bin_win32.h"

#include <windows.h>

#include <string>

#include "browse/file_operations_win32.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/undo_bin.h"
#include "settings/settings_store_win32.h"

namespace {

// The bin folder when upkeep may act on it, without a trailing backslash,
// else "".
std::string maintainableBinFolder() {
    Settings settings;
    loadSettings(settings);
    if (isUnsafeBinFolder(settings.UndoBinPath) || actionListFileUnread()) return "";
    std::string folder = settings.UndoBinPath;
    while (folder.ends_with('\\')) folder.pop_back();
    return folder;
}

// Deletes the files that no record names and answers the size of the bin
// they leave. One search of the folder serves both: listing a bin of many
// thousands of saved copies is the slowest step of a rebuild.
uint64_t sweepAndMeasure(const std::string& binFolder) {
    FolderListing listing = listFolder(binFolder);
    uint64_t size = listing.size;
    for (size_t index : filesToSweep(binFolder, listing.fileNames, actionList))
        if (DeleteFileA((binFolder + "\\" + listing.fileNames[index]).c_str())) size -= listing.fileSizes[index];
    return size;
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
    if (!binFolder.empty()) sweepAndMeasure(binFolder);
}

bool trimOldestBootSession() { return trimOldestBootSessionIn(maintainableBinFolder()); }

void maintainUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return;
    uint64_t size = sweepAndMeasure(binFolder);
    Settings settings;
    loadSettings(settings);
    while (size > settings.UndoBinSize) {
        if (!trimOldestBootSessionIn(binFolder)) break;
        size = folderSize(binFolder);
    }
}

void emptyUndoBin() {
    std::string binFolder = maintainableBinFolder();
    while (trimOldestBootSessionIn(binFolder)) {
    }
}
