#include "database/undo_bin.h"

#include <unordered_set>

#include "database/action_list.h"
#include "settings/settings_lists.h"

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

std::vector<std::string> filesToSweep(std::string_view binFolder, std::span<const std::string> fileNames,
                                      std::span<const ActionRecord> records) {
    std::unordered_set<std::string> named;
    for (const ActionRecord& record : records)
        if (record.source == sourceFileReport && !record.dataC.empty()) named.insert(toUpperAscii(record.dataC));

    // A folder given with a trailing backslash must not make every saved
    // copy look unnamed.
    while (binFolder.ends_with('\\')) binFolder.remove_suffix(1);
    std::vector<std::string> sweep;
    for (const std::string& name : fileNames) {
        if (equalsIgnoreCase(std::string_view(name).substr(0, 6), "BACKUP") ||
            equalsIgnoreCase(name, actionListFileName) || equalsIgnoreCase(name, actionListTemporaryFileName))
            continue;
        std::string path = std::string(binFolder) + "\\" + name;
        if (!named.contains(toUpperAscii(path))) sweep.push_back(std::move(path));
    }
    return sweep;
}

size_t oldestBootSessionEnd(std::span<const ActionRecord> records) {
    for (size_t index = 1; index < records.size(); ++index)
        if (records[index].isBootMarker) return index;
    return 0;
}

std::string_view savedCopyOf(const ActionRecord& record) {
    return record.kind == kindDelete || record.kind == kindModify ? std::string_view(record.dataC)
                                                                   : std::string_view{};
}
