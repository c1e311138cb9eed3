#include "recorder/file_catalog.h"

#include <unordered_map>
#include <unordered_set>

#include "base/paths.h"
#include "recorder/path_map.h"
#include "recorder/saved_state.h"

namespace {
constexpr std::string_view catalogMagic = "RetraceFileCatalog1";
}  // namespace

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

std::vector<FileNotice> FileCatalog::withMovesPaired(std::vector<FileNotice> notices,
                                                     const std::function<CatalogEntry(const std::string&)>& onDisk) const {
    std::unordered_map<uint64_t, size_t> removedBy;  // identity: the Removed notice's index
    for (size_t index = 0; index < notices.size(); ++index) {
        const FileNotice& notice = notices[index];
        const CatalogEntry* known = find(notice.path);
        if (notice.action == NoticeAction::Removed && !notice.folder && known && known->identity != 0)
            removedBy.emplace(known->identity, index);
    }
    if (removedBy.empty()) return notices;
    std::vector<bool> dropped(notices.size(), false);
    for (FileNotice& notice : notices) {
        if (notice.action != NoticeAction::Added || notice.folder) continue;
        const CatalogEntry now = onDisk(notice.path);
        auto removed = removedBy.find(now.identity);
        if (removed == removedBy.end() || !(*find(notices[removed->second].path) == now)) continue;
        dropped[removed->second] = true;
        notice = {NoticeAction::Renamed, notices[removed->second].path, notice.path, false, notice.seen};
        removedBy.erase(removed);
    }
    std::vector<FileNotice> paired;
    for (size_t index = 0; index < notices.size(); ++index)
        if (!dropped[index]) paired.push_back(std::move(notices[index]));
    return paired;
}

void FileCatalog::takeIdentities(const std::function<uint64_t(const std::string&)>& identityOf) {
    for (auto& [path, entry] : entries_)
        if (!entry.folder) entry.identity = identityOf(path);
}

std::string FileCatalog::saved() const {
    StateWriter out(catalogMagic);
    out.addNumber(entries_.size());
    for (const auto& [path, entry] : entries_) {
        out.addText(path);
        out.addNumber(entry.size);
        out.addNumber(entry.lastWrite);
        out.addNumber(entry.folder);
        out.addNumber(entry.identity);
    }
    return out.bytes();
}

bool FileCatalog::restore(std::string_view bytes) {
    entries_.clear();
    StateReader in(bytes, catalogMagic);
    for (uint64_t count = in.nextNumber().value_or(0); count > 0 && in.ok(); --count) {
        std::optional<std::string> path = in.nextText();
        CatalogEntry entry;
        entry.size = in.nextNumber().value_or(0);
        entry.lastWrite = in.nextNumber().value_or(0);
        entry.folder = in.nextNumber().value_or(0) != 0;
        entry.identity = in.nextNumber().value_or(0);
        if (path) entries_[*path] = entry;
    }
    if (in.atEnd()) return true;
    entries_.clear();
    return false;
}
