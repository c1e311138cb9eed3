#include "recorder/file_catalog.h"

#include <unordered_set>

#include "browse/paths.h"
#include "recorder/path_map.h"

const CatalogEntry* FileCatalog::find(std::string_view path) const {
    auto found = entries_.find(path);
    return found == entries_.end() ? nullptr : &found->second;
}

void FileCatalog::set(const std::string& path, const CatalogEntry& entry) { entries_[path] = entry; }

void FileCatalog::erase(std::string_view path) {
    for (auto entry : entriesWithin(entries_, path)) entries_.erase(entry);
}

void FileCatalog::moveFolder(std::string_view from, std::string_view to) {
    TreeListing moved;
    for (auto entry : entriesWithin(entries_, from)) {
        moved.emplace_back(std::string(to) + entry->first.substr(from.size()), entry->second);
        entries_.erase(entry);
    }
    for (auto& [path, entry] : moved) entries_[path] = entry;
}

std::vector<FileNotice> FileCatalog::differencesFrom(std::string_view root, bool recursive,
                                                     const TreeListing& listing) const {
    std::vector<FileNotice> notices;
    std::unordered_set<std::string_view, IgnoreCaseHash, IgnoreCaseEqual> listed;
    for (auto& [path, entry] : listing) {
        listed.insert(path);
        const CatalogEntry* known = find(path);
        if (!known)
            notices.push_back({NoticeAction::Added, path, "", entry.folder});
        else if (!entry.folder && (known->size != entry.size || known->lastWrite != entry.lastWrite))
            notices.push_back({NoticeAction::Modified, path, "", false});
    }
    for (auto it : entriesWithin(entries_, root)) {
        bool inScope = it->first.size() > root.size() &&
                       (recursive || containingFolder(it->first).size() == root.size());
        if (inScope && !listed.contains(it->first))
            notices.push_back({NoticeAction::Removed, it->first, "", it->second.folder});
    }
    return notices;
}
