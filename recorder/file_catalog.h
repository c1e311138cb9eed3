#pragma once
// The files the recorder knows under its watched folders, with their sizes
// and times: what existed before a batch, how large a deleted file was, and
// what a rescan compares the disk with when a watch has lost its
// notifications.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/ignore_case_hash.h"
#include "recorder/file_notice.h"

struct CatalogEntry {
    uint64_t size = 0;
    uint64_t lastWrite = 0;
    bool folder = false;
    friend bool operator==(const CatalogEntry&, const CatalogEntry&) = default;
};

using TreeListing = std::vector<std::pair<std::string, CatalogEntry>>;

class FileCatalog {
public:
    const CatalogEntry* find(std::string_view path) const;
    void set(const std::string& path, const CatalogEntry& entry);
    // Forgets the path, and everything below it.
    void erase(std::string_view path);
    // The folder `from`, and everything below it, is below `to` from now on.
    void moveFolder(std::string_view from, std::string_view to);

    // The differences between what the catalog holds of `root` and a fresh
    // listing of it, as notices: what the listing lacks was removed, what the
    // catalog lacks was added, a file of another size or time was modified.
    // A listing that is not recursive stands for the root's own entries only.
    std::vector<FileNotice> differencesFrom(std::string_view root, bool recursive, const TreeListing& listing) const;

    size_t size() const { return entries_.size(); }

private:
    std::map<std::string, CatalogEntry, IgnoreCaseLess> entries_;
};
