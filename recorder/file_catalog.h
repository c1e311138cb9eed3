#pragma once
// The files the recorder knows under its watched folders, with their sizes
// and times: what existed before a batch, how large a deleted file was, and
// what a rescan compares the disk with when a watch has lost its
// notifications.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/ignore_case_hash.h"
#include "recorder/file_notice.h"

struct CatalogEntry {
    uint64_t size = 0;
    uint64_t lastWrite = 0;
    bool folder = false;
    // The file system's identity of the file, asked only when the catalog is
    // kept for the next run; 0 when not known. Not part of the comparison.
    uint64_t identity = 0;
    friend bool operator==(const CatalogEntry& a, const CatalogEntry& b) {
        return a.size == b.size && a.lastWrite == b.lastWrite && a.folder == b.folder;
    }
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

    // The same differences with a file that was removed and one added of the
    // same identity, size and time, as a file moved while nobody watched, made
    // one Renamed. The identity alone is not enough: a file system may give a
    // deleted file's number to the next new one. `onDisk` tells a file as it
    // is now, with its identity.
    std::vector<FileNotice> withMovesPaired(std::vector<FileNotice> notices,
                                            const std::function<CatalogEntry(const std::string&)>& onDisk) const;

    // Asks `identityOf` for every file's identity, before the catalog is kept.
    void takeIdentities(const std::function<uint64_t(const std::string&)>& identityOf);

    size_t size() const { return entries_.size(); }

    // The catalog as bytes to keep until the next run, and taken back from
    // them; false, and the catalog left empty, when they are not a whole one.
    std::string saved() const;
    bool restore(std::string_view bytes);

private:
    std::map<std::string, CatalogEntry, IgnoreCaseLess> entries_;
};
