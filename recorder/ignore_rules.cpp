#include "recorder/ignore_rules.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "monitor/action_kind.h"

bool isWithin(std::string_view path, std::string_view folder) {
    while (folder.ends_with('\\')) folder.remove_suffix(1);
    if (folder.empty() || path.size() < folder.size() || !equalsIgnoreCase(path.substr(0, folder.size()), folder))
        return false;
    return path.size() == folder.size() || path[folder.size()] == '\\';
}

IgnoreRules::IgnoreRules(const Settings& s, std::vector<std::string> ownFolders, std::vector<std::string> recycleBins)
    : paths_(splitList(s.szIgnorePaths)),
      largeFileSize_(s.LargeFileSize),
      ignoreRecycleBin_(s.IgnoreRecycleBin != 0),
      ownFolders_(std::move(ownFolders)),
      recycleBins_(std::move(recycleBins)) {
    const std::pair<uint32_t, const char*> groups[] = {
        {s.IgnoreGraphics, s.szIgnoreGraphics}, {s.IgnoreArchives, s.szIgnoreArchives},
        {s.IgnoreBackups, s.szIgnoreBackups},   {s.IgnoreTemp, s.szIgnoreTemp},
        {s.IgnoreLinks, s.szIgnoreLinks},       {s.IgnoreUser, s.szIgnoreUser},
        {s.IgnoreEMail, s.szEMail},             {s.IgnoreNews, s.szNews},
    };
    for (auto [ignored, list] : groups)
        if (ignored)
            for (std::string& extension : splitList(list)) extensions_.push_back(std::move(extension));
}

bool IgnoreRules::excluded(std::string_view path) const {
    for (const std::string& folder : ownFolders_)
        if (isWithin(path, folder)) return true;
    return !inRecycleBin(path) && containingFolder(path).find("\\.") != std::string_view::npos;
}

bool IgnoreRules::inRecycleBin(std::string_view path) const {
    return std::any_of(recycleBins_.begin(), recycleBins_.end(),
                       [&](const std::string& bin) { return isWithin(path, bin) && path.size() > bin.size(); });
}

bool IgnoreRules::ignoresPath(std::string_view path) const {
    std::string_view extension = splitExtension(fileNameOf(path)).extension;
    if (!extension.empty()) {
        extension.remove_prefix(1);
        for (const std::string& ignored : extensions_)
            if (equalsIgnoreCase(ignored, extension)) return true;
    }
    return std::any_of(paths_.begin(), paths_.end(), [&](const std::string& item) { return isWithin(path, item); });
}

bool IgnoreRules::ignores(const FileChange& change, uint64_t size) const {
    if (ignoreRecycleBin_ && inRecycleBin(change.path)) return true;
    if (!change.folder && largeFileSize_ != 0 && size > largeFileSize_) return true;
    if (change.kind == kindRename) return ignoresPath(change.path) && ignoresPath(change.otherPath);
    return ignoresPath(change.path);
}
