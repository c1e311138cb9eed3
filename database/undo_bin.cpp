#include "database/undo_bin.h"

#include <algorithm>
#include <unordered_set>

#include "base/ignore_case_hash.h"
#include "base/text.h"
#include "database/action_list.h"

bool isUnsafeBinFolder(std::string_view binFolder) {
    while (!binFolder.empty() && (binFolder.back() == '\\' || binFolder.back() == '/')) binFolder.remove_suffix(1);
    if (binFolder.empty()) return true;
    if (binFolder.size() == 2 && binFolder[1] == ':') return true;  // "C:" or "C:\"
    // "\\server\share" with nothing below it
    if (binFolder.starts_with("\\\\")) {
        std::string_view rest = binFolder.substr(2);
        size_t server = rest.find('\\');
        return server == std::string_view::npos || rest.find('\\', server + 1) == std::string_view::npos;
    }
    return false;
}

bool isActionListFile(std::string_view fileName) {
    return equalsIgnoreCase(fileName, actionListFileName) || equalsIgnoreCase(fileName, actionListTemporaryFileName);
}

namespace {
// The rebuild deletes the reports itself, once the list that holds their
// records is on disk; a sweep before that, or after a save that failed,
// would lose them.
bool isReport(std::string_view name) {
    return equalsIgnoreCase(name, "filereport.000") || equalsIgnoreCase(name, "regreport.000");
}

bool isBackup(std::string_view name) { return equalsIgnoreCase(name.substr(0, 6), "BACKUP"); }

bool isOwnSubfolder(std::string_view name) {
    return equalsIgnoreCase(name, "Redo") || equalsIgnoreCase(name, "SO") || equalsIgnoreCase(name, "Staging");
}

// A name that Windows takes as this very file directly in a folder: no
// separator, no stream, no wildcard, and no trailing dot or space, which
// Windows trims away (".. " is "..").
bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

bool isAbsoluteFolder(std::string_view folder) {
    bool onDrive = folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    return onDrive || folder.starts_with("\\\\");
}

std::string_view withoutTrailingBackslashes(std::string_view folder) {
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    return folder;
}

// binFileNamedBy for a folder without a trailing backslash.
std::string_view nameInFolder(std::string_view binFolder, const ActionRecord& record) {
    std::string_view path = record.dataC;
    if (record.source == sourceFileReport && path.size() > binFolder.size() && path[binFolder.size()] == '\\' &&
        equalsIgnoreCase(path.substr(0, binFolder.size()), binFolder))
        return path.substr(binFolder.size() + 1);
    return {};
}
}  // namespace

bool countsAsUndoBin(std::span<const FolderEntry> entries) {
    if (entries.empty()) return true;
    for (const FolderEntry& entry : entries)
        if (entry.isFolder ? isOwnSubfolder(entry.name)
                           : isActionListFile(entry.name) || isReport(entry.name) || isBackup(entry.name))
            return true;
    return false;
}

bool isSavedCopyInBin(std::string_view binFolder, std::string_view path) {
    while (binFolder.ends_with('\\') || binFolder.ends_with('/')) binFolder.remove_suffix(1);
    if (isUnsafeBinFolder(binFolder) || !isAbsoluteFolder(binFolder)) return false;
    if (path.size() <= binFolder.size() || path[binFolder.size()] != '\\' ||
        !equalsIgnoreCase(path.substr(0, binFolder.size()), binFolder))
        return false;
    std::string_view rest = path.substr(binFolder.size() + 1);
    if (size_t separator = rest.find('\\'); separator != std::string_view::npos) {
        if (!equalsIgnoreCase(rest.substr(0, separator), "Redo")) return false;
        rest.remove_prefix(separator + 1);
    }
    return isPlainFileName(rest);
}

std::string_view binFileNamedBy(std::string_view binFolder, const ActionRecord& record) {
    return nameInFolder(withoutTrailingBackslashes(binFolder), record);
}

std::vector<size_t> filesToSweep(std::string_view binFolder, std::span<const std::string> fileNames,
                                 std::span<const ActionRecord> records, std::span<const ActionRecord> keptAside) {
    // A folder given with a trailing backslash must not make every saved
    // copy look unnamed.
    binFolder = withoutTrailingBackslashes(binFolder);

    // Only a dataC in the bin folder can name one of its files, so the names
    // are compared rather than whole paths, and nothing is copied: a long
    // history holds many thousands of saved copies. One sorted array of
    // them, rather than a set's node each, leaves no small blocks behind
    // in the heap.
    std::vector<std::string_view> named;
    named.reserve(fileNames.size());  // most files in the bin are saved copies that a record names
    for (std::span<const ActionRecord> list : {records, keptAside})
        for (const ActionRecord& record : list) {
            std::string_view name = nameInFolder(binFolder, record);
            if (!name.empty()) named.push_back(name);
        }
    std::sort(named.begin(), named.end(), IgnoreCaseLess{});

    std::vector<size_t> sweep;
    for (size_t index = 0; index < fileNames.size(); ++index) {
        std::string_view name = fileNames[index];
        if (isBackup(name) || isActionListFile(name) || isReport(name)) continue;
        if (!std::binary_search(named.begin(), named.end(), name, IgnoreCaseLess{})) sweep.push_back(index);
    }
    return sweep;
}

bool isActionListBackup(std::string_view fileName) {
    std::string_view listName = actionListFileName;
    return isBackup(fileName) && fileName.size() >= listName.size() &&
           equalsIgnoreCase(fileName.substr(fileName.size() - listName.size()), listName);
}

std::vector<bool> savedCopiesToDelete(std::span<const ActionRecord> records, size_t end) {
    std::unordered_set<std::string_view, IgnoreCaseHash, IgnoreCaseEqual> namedLater;
    for (size_t index = end; index < records.size(); ++index)
        if (std::string_view copy = savedCopyOf(records[index]); !copy.empty()) namedLater.insert(copy);
    std::vector<bool> toDelete(end);
    for (size_t index = 0; index < end; ++index) {
        std::string_view copy = savedCopyOf(records[index]);
        toDelete[index] = !copy.empty() && !namedLater.contains(copy);
    }
    return toDelete;
}

size_t oldestBootSessionEnd(std::span<const ActionRecord> records) { return nextBootSessionEnd(records, 0); }

size_t nextBootSessionEnd(std::span<const ActionRecord> records, size_t end) {
    for (size_t index = end + 1; index < records.size(); ++index)
        if (records[index].isBootMarker()) return index;
    return 0;
}

std::string_view savedCopyOf(const ActionRecord& record) {
    return record.kind == kindDelete || record.kind == kindModify ? std::string_view(record.dataC)
                                                                   : std::string_view{};
}
