#include "database/undo_bin_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "base/whole_file_win32.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/history_work.h"
#include "database/known_bin_files.h"
#include "database/undo_bin.h"
#include "settings/settings_store_win32.h"

namespace {

// The bin as the last listing found it, for the tray click's upkeep. Used by
// the main thread and by the background rebuild work, never at once: the
// main thread waits for that work before it changes the bin or the records.
struct LastListing {
    std::string binFolder;  // "" until a listing was made
    KnownBinFiles files;
    // Whether the files that no record names were swept first. Until they
    // are, they count towards the bin's size.
    bool swept = false;
};
LastListing lastListing;

// A listing that start-up has the history thread make while the history
// loads, for its rebuild only.
struct ListingAhead {
    std::string binFolder;
    std::future<FolderListing> listing;
};
std::optional<ListingAhead> listingAhead;

// The listing a rebuild's upkeep left unswept, for its sweep in the
// background: the files it holds that no record names are the ones to go.
// What was saved into the bin since is left for a later sweep.
struct UnsweptListing {
    std::string binFolder;
    FolderListing listing;
};
std::optional<UnsweptListing> unsweptListing;

FolderListing listBin(const std::string& binFolder) {
    if (listingAhead) {
        ListingAhead ahead = std::move(*listingAhead);
        listingAhead.reset();
        FolderListing listing = ahead.listing.get();
        if (equalsIgnoreCase(ahead.binFolder, binFolder)) return listing;
    }
    return listFolder(binFolder);
}

FolderListing listingToSweep(const std::string& binFolder) {
    std::optional<UnsweptListing> unswept = std::move(unsweptListing);
    unsweptListing.reset();
    return unswept && equalsIgnoreCase(unswept->binFolder, binFolder) ? std::move(unswept->listing)
                                                                      : listFolder(binFolder);
}

uint64_t undoBinLimit() {
    Settings settings;
    loadSettings(settings);
    return settings.UndoBinSize;
}

std::string binFolderOf(const Settings& settings) {
    std::string folder = settings.UndoBinPath;
    while (folder.ends_with('\\')) folder.pop_back();
    return folder;
}

// The bin folder when upkeep may act on it, without a trailing backslash,
// else "".
std::string maintainableBinFolder() { return actionListFileUnread() ? "" : undoBinFolderInUse(); }

// Deletes the saved copy the record at the index names, if it has one in the
// bin. Returns whether the record now names no copy that remains there.
bool deleteSavedCopy(const std::string& binFolder, size_t index) {
    std::string savedCopy(savedCopyOf(actionList[index]));
    // A copy named outside the bin is not Retrace's to delete, whatever the
    // record says: the record goes, the file stays.
    if (savedCopy.empty() || !isSavedCopyInBin(binFolder, savedCopy)) return true;
    // A delete can fail for a copy that is gone all the same, deleted by
    // someone else: then the record names nothing and may go.
    if (!DeleteFileA(savedCopy.c_str()) && fileExists(savedCopy)) return false;
    std::string_view name = binFileNamedBy(lastListing.binFolder, actionList[index]);
    if (!lastListing.binFolder.empty() && !name.empty()) lastListing.files.remove(name);
    return true;
}

// The size of the file a search finds for the path, if it finds one.
// Asked for every copy a click's new records name. Under Wine a search for
// one name in a bin of many thousands reads the folder, while asking for
// the path as the monitor wrote it does not.
std::optional<uint64_t> sizeOnDisk(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return std::nullopt;
    return uint64_t(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
}

// The readable records of the lists kept aside in the bin for their damage,
// or nothing when one of them cannot be read: then no one can tell which
// saved copies it names.
std::optional<std::vector<ActionRecord>> recordsKeptAside(const std::string& binFolder,
                                                          const std::vector<std::string>& fileNames) {
    std::vector<ActionRecord> records;
    for (const std::string& name : fileNames) {
        if (!isActionListBackup(name)) continue;
        WholeFile backup = readWholeFileQuietly(binFolder + "\\" + name);
        if (backup.status == FileReadStatus::Unreadable) return std::nullopt;
        std::vector<ActionRecord> readable = readableActionRecords(backup.bytes);
        records.insert(records.end(), std::make_move_iterator(readable.begin()), std::make_move_iterator(readable.end()));
    }
    return records;
}

void keepAsLastListing(const std::string& binFolder, const FolderListing& listing, const std::vector<bool>& deleted,
                       bool swept) {
    lastListing.binFolder = binFolder;
    lastListing.files = {};
    lastListing.swept = swept;
    for (size_t index = 0; index < listing.fileNames.size(); ++index)
        if (!deleted[index]) lastListing.files.add(listing.fileNames[index], listing.fileSizes[index]);
}

// Deletes the files of the listing that no record names and answers the
// size of the bin they leave. One search of the folder serves both: listing
// a bin of many thousands of saved copies is the slowest step of a rebuild.
// What is left becomes the last listing.
uint64_t sweepAndMeasure(const std::string& binFolder, const FolderListing& listing) {
    uint64_t size = listing.size;
    std::vector<bool> deleted(listing.fileNames.size());
    // The lists kept aside are read at every sweep: their texts go when it ends.
    RecordTextScratch scratch;
    std::optional<std::vector<ActionRecord>> keptAside = recordsKeptAside(binFolder, listing.fileNames);
    std::vector<size_t> sweep;
    if (keptAside) sweep = filesToSweep(binFolder, listing.fileNames, actionList, *keptAside);
    for (size_t index : sweep) {
        deleted[index] = DeleteFileA((binFolder + "\\" + listing.fileNames[index]).c_str()) != 0;
        if (deleted[index]) size -= listing.fileSizes[index];
    }
    keepAsLastListing(binFolder, listing, deleted, true);
    return size;
}

struct TrimOutcome {
    size_t dropped = 0;
    size_t keptInFront = 0;
};

// Drops the records in front of `end`, deleting the saved copies that no
// later record names. A record whose copy cannot be deleted stays, in front,
// so no copy is left that no record names; the next trim tries it again.
// Answers how many records stayed.
size_t dropFront(const std::string& binFolder, size_t end) {
    std::vector<bool> toDelete = savedCopiesToDelete(actionList, end);
    size_t kept = 0;
    for (size_t index = 0; index < end; ++index) {
        if (!toDelete[index] || deleteSavedCopy(binFolder, index)) continue;
        if (kept != index) actionList[kept] = std::move(actionList[index]);  // a move onto itself empties it
        ++kept;
    }
    actionList.erase(actionList.begin() + ptrdiff_t(kept), actionList.begin() + ptrdiff_t(end));
    ++actionListChanges;
    return kept;
}

// Drops the oldest boot session. When every record of it stays for its copy,
// the session behind it goes too, so one file held open never stops the
// bin from shrinking. The current session always stays.
TrimOutcome trimOldestBootSessionIn(const std::string& binFolder) {
    if (binFolder.empty()) return {};
    for (size_t end = oldestBootSessionEnd(actionList); end != 0; end = nextBootSessionEnd(actionList, end)) {
        size_t kept = dropFront(binFolder, end);
        if (kept < end) return {end - kept, kept};
    }
    return {};
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
BinUpkeep trimWhileOver(const std::string& binFolder, uint64_t size, const std::function<uint64_t()>& sizeNow) {
    const uint64_t limit = undoBinLimit();
    BinUpkeep upkeep;
    while (size > limit) {
        TrimOutcome trim = trimOldestBootSessionIn(binFolder);
        if (trim.dropped == 0) break;
        upkeep.dropped += trim.dropped;
        upkeep.keptInFront = trim.keptInFront;
        size = sizeNow();
    }
    return upkeep;
}

BinUpkeep sweepAndTrim(const std::string& binFolder, const FolderListing& listing) {
    BinUpkeep upkeep =
        trimWhileOver(binFolder, sweepAndMeasure(binFolder, listing), [&] { return folderSize(binFolder); });
    upkeep.swept = true;
    return upkeep;
}

}  // namespace

bool countsAsUndoBinFolder(const std::string& folder) {
    // Nearly every bin holds its action list, and a tray click asks this:
    // then no listing is needed.
    DWORD list = GetFileAttributesA((folder + "\\" + actionListFileName).c_str());
    if (list != INVALID_FILE_ATTRIBUTES && !(list & FILE_ATTRIBUTE_DIRECTORY)) return true;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    std::vector<FolderEntry> entries;
    do {
        std::string_view name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return countsAsUndoBin(entries);
}

std::string undoBinFolderInUse() {
    Settings settings;
    loadSettings(settings);
    std::string folder = binFolderOf(settings);
    return isUnsafeBinFolder(folder) || !countsAsUndoBinFolder(folder) ? "" : folder;
}

bool isSavedCopyInUndoBin(const std::string& path) {
    Settings settings;
    loadSettings(settings);
    return isSavedCopyInBin(binFolderOf(settings), path);
}

void prepareUndoBinFolder() {
    Settings settings;
    loadSettings(settings);
    std::string folder = binFolderOf(settings);
    if (isUnsafeBinFolder(folder)) return;
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    if (countsAsUndoBinFolder(folder)) return;
    std::string message = "The folder chosen for the Undo Bin, " + folder +
                          ", holds files that are not Retrace's. Retrace keeps nothing there and deletes nothing "
                          "from it, so it cannot save earlier versions of your files.\n\n"
                          "Choose an empty folder for the Undo Bin on the Settings page of the Options sheet.";
    MessageBoxA(nullptr, message.c_str(), "Undo Bin", MB_OK | MB_ICONWARNING);
}

void listUndoBinAhead() {
    std::string binFolder = undoBinFolderInUse();
    if (binFolder.empty()) return;
    // On the history thread, which lists the bin for the sweeps too: the
    // system's buffers for a folder of many files then stay with one thread.
    auto listing = std::make_shared<std::packaged_task<FolderListing()>>([binFolder] { return listFolder(binFolder); });
    listingAhead = ListingAhead{binFolder, listing->get_future()};
    postHistoryWork([listing] { (*listing)(); });
}

// A listing not yet taken is left to finish unread.
void forgetUndoBinListingAhead() { listingAhead.reset(); }

void forgetUnsweptUndoBinListing() { unsweptListing.reset(); }

void sweepUndoBin() {
    std::string binFolder = maintainableBinFolder();
    if (!binFolder.empty()) sweepAndMeasure(binFolder, listingToSweep(binFolder));
}

bool trimOldestBootSession() { return trimOldestBootSessionIn(maintainableBinFolder()).dropped > 0; }

BinUpkeep maintainUndoBin() {
    std::string binFolder = maintainableBinFolder();
    return binFolder.empty() ? BinUpkeep{} : sweepAndTrim(binFolder, listBin(binFolder));
}

BinUpkeep trimUndoBin(size_t firstNew, const PathSpellings& spellings) {
    std::string binFolder = maintainableBinFolder();
    if (binFolder.empty()) return {};
    if (!equalsIgnoreCase(binFolder, lastListing.binFolder)) {
        FolderListing listing = listBin(binFolder);
        // Within the limit with the files that no record names counted too,
        // nothing is dropped, and the sweep is left for the background.
        if (listing.size > undoBinLimit()) return sweepAndTrim(binFolder, listing);
        keepAsLastListing(binFolder, listing, std::vector<bool>(listing.fileNames.size()), false);
        unsweptListing = UnsweptListing{binFolder, std::move(listing)};
        return {};
    }
    uint64_t size = sizeSinceLastListing(binFolder, firstNew, spellings);
    // Never a record dropped for files that no record names.
    if (!lastListing.swept && size > undoBinLimit()) return sweepAndTrim(binFolder, listFolder(binFolder));
    return trimWhileOver(binFolder, size,
                         [&] { return sizeSinceLastListing(binFolder, actionList.size(), spellings); });
}

void emptyUndoBin() {
    std::string binFolder = maintainableBinFolder();
    while (trimOldestBootSessionIn(binFolder).dropped > 0) {
    }
}
