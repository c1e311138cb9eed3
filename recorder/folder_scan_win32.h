#pragma once
// Listing the files under a watched folder, for the catalog, the file cache
// and rescans.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "recorder/file_catalog.h"

// The entries of `folder` that match `pattern`, and with `recursive` those of
// every subfolder too, leaving out what `excluded` names and what lies below
// it. Every folder listed is opened first: Wine reports changes in a folder
// that existed before a watch began only once a handle to it has been
// opened, top-down.
TreeListing listFolderTree(const std::string& folder, bool recursive, const char* pattern,
                             const std::function<bool(std::string_view)>& excluded);

// The entry of one path as it is on disk now; false when nothing is there.
bool entryOnDisk(const std::string& path, CatalogEntry& entry);

// The file system's identity of the file at `path` (volume and file index),
// which a rename keeps; 0 when it cannot be asked.
uint64_t fileIdentity(const std::string& path);
