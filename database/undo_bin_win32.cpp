#include "database/undo_bin_win32.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "browse/file_operations_win32.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/undo_bin.h"
#include "settings/settings_lists.h"
#include "settings/settings_store_win32.h"

namespace {

// The bin as the last listing found it, for the tray click's upkeep. Used by
// the main thread and by the background rebuild work, never at once: the
// main thread waits for that work before it changes the bin or the records.
struct LastListing {
    std::string binFolder;  // "" until a listing was made
    KnownBinFiles files;
};
LastListing lastListing;

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

// The size of the file a search finds for the path, if it finds one.
std::optional<uint64_t> sizeOnDisk(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(search);
    return uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
}

// Deletes the files that no record names and answers the size of the bin
// they leave. One search of the folder serves both: listing a bin of many
// thousands of saved copies is the slowest step of a rebuild. What is left
// becomes the last listing.
uint64_t sweepAndMeasure(const std::string& binFolder) {
    FolderListing listing = listFolder(binFolder);
    uint64_t size = listing.size;
    std::vector<bool> deleted(listing.fileNames.size());
    for (size_t index : filesToSweep(binFolder, listing.fileNames, actionList)) {
        deleted[index] = DeleteFileA((binFolder + "\\" + listing.fileNames[index]).c_str()) != 0;
        if (deleted[index]) size -= listing.fileSizes[index];
    }
    lastListing.binFolder = binFolder;
    lastListing.files = {};
    for (size_t index = 0; index < listing.fileNames.size(); ++index)
        if (!deleted[index]) lastListing.files.add(listing.fileNames[index], listing.fileSizes[index]);
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

// The bin's size as a listing would find it now, from the last listing, the
// list files as they are now and the saved copies that the records from
// `firstNew` on name, which the monitor wrote since.
uint64_t sizeSinceLastListing(const std::string& binFolder, size_t firstNew, const PathSpellings& spellings) {
    for (size_t index = firstNew; index < actionList.size(); ++index) {
        std::string_view name = binFileNamedBy(binFolder, actionList[index]);
        if (name.empty() || lastListing.files.contains(name)) continue;
        auto spelled = spellings.find(actionList[index].dataC);
        if (std::optional<uint64_t> size = sizeOnDisk(spelled != spellings.end() ? *spelled : actionList[index].dataC))
            lastListing.files.add(name, *size);
    }
    uint64_t size = lastListing.files.size();
    for (const char* listFile : {actionListFileName, actionListTemporaryFileName})
        size += sizeOnDisk(binFolder + "\\" + listFile).value_or(0);
    return size;
}

// Drops whole boot sessions, oldest first, while the bin is over its limit.
// Returns how many records went.
size_t trimWhileOver(const std::string& binFolder, uint64_t size, const std::function<uint64_t()>& sizeNow) {
    Settings settings;
    loadSettings(settings);
    size_t before = actionList.size();
    while (size > settings.UndoBinSize) {
        if (!trimOldestBootSessionIn(binFolder)) break;
        size = sizeNow();
    }
    return before - actionList.size();
}

}  // namespace

void deleteSavedCopy(int index) {
    std::string_view savedCopy = savedCopyOf(actionList[size_t(index)]);
    if (savedCopy.empty() || !DeleteFileA(std::string(savedCopy).c_str())) return;
    std::string_view name = binFileNamedBy(lastListing.binFolder, actionList[size_t(index)]);
    if (!lastListing.binFolder.empty() && !name.empty()) lastListing.files.remove(name);
}

void sweepUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (!binFolder.empty()) sweepAndMeasure(binFolder);
}

bool trimOldestBootSession() { return trimOldestBootSessionIn(maintainableBinFolder()); }

void maintainUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return;
    trimWhileOver(binFolder, sweepAndMeasure(binFolder), [&] { return folderSize(binFolder); });
}

BinUpkeep trimUndoBin(size_t firstNew, const PathSpellings& spellings) {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return {};
    if (!equalsIgnoreCase(binFolder, lastListing.binFolder)) {
        size_t before = actionList.size();
        maintainUndoBin();
        return {.dropped = before - actionList.size(), .swept = true};
    }
    uint64_t size = sizeSinceLastListing(binFolder, firstNew, spellings);
    return {.dropped = trimWhileOver(binFolder, size,
                                     [&] { return sizeSinceLastListing(binFolder, actionList.size(), spellings); }),
            .swept = false};
}

void emptyUndoBin() {
    std::string binFolder = maintainableBinFolder();
    while (trimOldestBootSessionIn(binFolder)) {
    }
}
