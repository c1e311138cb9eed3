#include "recorder/file_catalog.h"

#include <unordered_set>

#include "browse/paths.h"
#include "settings/settings_lists.h"

namespace {
std::string folderPrefix(std::string_view folder) {
    std::string prefix(folder);
    if (!prefix.ends_with('\\')) prefix += '\\';
    return prefix;
}
}  // namespace

const CatalogEntry* FileCatalog::find(std::string_view path) const {
    auto found = entries_.find(path);
    return found == entries_.end() ? nullptr : &found->second;
}

void FileCatalog::set(const std::string& path, const CatalogEntry& entry) { entries_[path] = entry; }

template <class Map>
auto FileCatalog::below(Map& entries, std::string_view folder)
    -> std::pair<decltype(entries.begin()), decltype(entries.begin())> {
    const std::string prefix = folderPrefix(folder);
    auto first = entries.lower_bound(prefix), last = first;
    while (last != entries.end() && last->first.size() >= prefix.size() &&
           equalsIgnoreCase(std::string_view(last->first).substr(0, prefix.size()), prefix))
        ++last;
    return {first, last};
}

void FileCatalog::erase(std::string_view path) {
    auto [first, last] = below(entries_, path);
    entries_.erase(first, last);
    if (auto found = entries_.find(path); found != entries_.end()) entries_.erase(found);
}

void FileCatalog::moveFolder(std::string_view from, std::string_view to) {
    auto [first, last] = below(entries_, from);
    FolderListing moved;
    for (auto it = first; it != last; ++it) moved.emplace_back(std::string(to) + it->first.substr(from.size()), it->second);
    entries_.erase(first, last);
    if (auto self = entries_.find(from); self != entries_.end()) {
        moved.emplace_back(std::string(to), self->second);
        entries_.erase(self);
    }
    for (auto& [path, entry] : moved) entries_[path] = entry;
}

std::vector<FileNotice> FileCatalog::differencesFrom(std::string_view root, bool recursive,
                                                     const FolderListing& listing) const {
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
    auto [first, last] = below(entries_, root);
    for (auto it = first; it != last; ++it) {
        bool inScope = recursive || containingFolder(it->first).size() == folderPrefix(root).size() - 1;
        if (inScope && !listed.contains(it->first))
            notices.push_back({NoticeAction::Removed, it->first, "", it->second.folder});
    }
    return notices;
}
