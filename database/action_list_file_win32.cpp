#include "database/action_list_file_win32.h"

#include <windows.h>

#include <functional>
#include <future>
#include <optional>
#include <string_view>

#include "base/whole_file_win32.h"
#include "database/action_list.h"
#include "database/history_work.h"
#include "database/undo_bin_win32.h"
#include "settings/settings_store_win32.h"

namespace {

bool fileUnread = false;

// What the list file holds as this program last read or wrote it: its
// contents' hash, and the file's size and time as the disk tells them. A
// save whose bytes are the same is left out: at start-up a long history
// comes back unchanged, and writing it again would hold start-up for a
// second or more.
struct StoredList {
    std::string path;
    std::shared_future<size_t> hash;
    uint64_t size = 0;
    FILETIME written{};
};
std::optional<StoredList> stored;

size_t hashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

std::optional<WIN32_FILE_ATTRIBUTE_DATA> attributesOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return std::nullopt;
    return attributes;
}

void remember(const std::string& path, std::shared_future<size_t> hash) {
    stored.reset();
    auto attributes = attributesOf(path);
    if (!attributes) return;
    stored = StoredList{path, std::move(hash), uint64_t(attributes->nFileSizeHigh) << 32 | attributes->nFileSizeLow,
                        attributes->ftLastWriteTime};
}

void rememberWritten(const std::string& path, std::string_view bytes) {
    std::promise<size_t> hash;
    hash.set_value(hashOf(bytes));
    remember(path, hash.get_future().share());
}

// Hashing a long history's bytes takes about half as long as parsing them,
// and only the next save asks for it: it runs beside start-up, and frees
// the bytes once done.
void rememberLoaded(const std::string& path, std::string bytes) {
    remember(path, std::async(std::launch::async, [bytes = std::move(bytes)]() mutable {
                       const size_t hash = hashOf(bytes);
                       std::string().swap(bytes);
                       return hash;
                   }).share());
}

// Whether the file still holds exactly these bytes as this program left it.
bool alreadyHolds(const std::string& path, std::string_view bytes) {
    if (!stored || stored->path != path || stored->size != bytes.size()) return false;
    auto attributes = attributesOf(path);
    if (!attributes || (uint64_t(attributes->nFileSizeHigh) << 32 | attributes->nFileSizeLow) != stored->size ||
        CompareFileTime(&attributes->ftLastWriteTime, &stored->written) != 0)
        return false;
    return hashOf(bytes) == stored->hash.get();
}

// The Undo Bin folder of freshly loaded settings, with a trailing backslash.
std::string undoBinFolder() {
    Settings settings;
    loadSettings(settings);
    return std::string(settings.UndoBinPath) + "\\";
}

// Moves the damaged file to the first free "BACKUP" name beside it.
bool keepAside(const std::string& folder, const std::string& path) {
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const std::string backup = folder + actionListBackupName(attempt);
        if (MoveFileExA(path.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

// Puts the new list in place of the old one. A program that happens to be
// reading the old file (a backup, a virus scanner) blocks the replacement
// for a moment; a few tries ride that out.
bool replaceWith(const std::string& temporary, const std::string& path) {
    for (int attempt = 0; attempt < 20; ++attempt, Sleep(50))
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
    return false;
}

}  // namespace

std::string actionListPath() { return undoBinFolder() + actionListFileName; }

std::string actionListTemporaryPath() { return undoBinFolder() + actionListTemporaryFileName; }

ActionListLoad loadActionList() {
    waitForHistoryWork();
    actionList.clear();
    ++actionListChanges;
    fileUnread = false;
    stored.reset();
    const std::string folder = undoBinFolder();
    const std::string path = folder + actionListFileName;
    WholeFile file = readWholeFile(path);
    if (file.status == FileReadStatus::Missing) return ActionListLoad::Empty;
    if (file.status == FileReadStatus::Unreadable) {
        fileUnread = true;
        return ActionListLoad::Unreadable;
    }
    ParsedActionList parsed = parseActionList(file.bytes);
    if (parsed.damaged) {
        fileUnread = !keepAside(folder, path);
        return ActionListLoad::Damaged;
    }
    actionList = std::move(parsed.records);
    rememberLoaded(path, std::move(file.bytes));
    return ActionListLoad::Loaded;
}

bool actionListFileUnread() { return fileUnread; }

bool saveActionList() {
    waitForHistoryWork();
    return writeActionList();
}

bool writeActionList(const std::function<bool()>& giveUp) {
    if (fileUnread) return false;
    // Nothing is written into the root of a drive or a folder of someone's
    // own files named as the bin.
    const std::string binFolder = undoBinFolderInUse();
    if (binFolder.empty()) return false;
    const std::string folder = binFolder + "\\";
    const std::string path = folder + actionListFileName;
    const std::string temporary = folder + actionListTemporaryFileName;
    const std::optional<std::string> serialized = serializeActionListUnless(actionList, giveUp);
    if (!serialized) return false;
    const std::string& bytes = *serialized;
    if (alreadyHolds(path, bytes)) return true;

    if (writeFileWhole(temporary, bytes, CREATE_ALWAYS, WriteEnd::Flushed, giveUp) && replaceWith(temporary, path)) {
        rememberWritten(path, bytes);
        return true;
    }
    stored.reset();
    DeleteFileA(temporary.c_str());
    return false;
}
