#pragma once
// Turns the notices of one batch (everything seen between two quiet moments)
// into the changes a person made, as the file report's kinds say them:
// only the batch's net effect on each file counts. A program that saves
// safely (writes a temporary file, moves the old one away or deletes it,
// and renames the temporary file over it) has made one Modify of the file
// the person edited; a temporary file that comes and goes within the batch
// has changed nothing.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "recorder/file_notice.h"

// What the recorder knew of a path before the batch.
struct KnownPath {
    bool folder = false;
};
using KnownBefore = std::function<std::optional<KnownPath>(std::string_view path)>;

// Whether a path lies in a Recycle Bin folder.
using InRecycleBin = std::function<bool(std::string_view path)>;

struct FileChange {
    int32_t kind = 0;       // kindCreate, kindDelete, kindRename, kindModify or kindRecycle
    std::string path;       // Rename: the old path; Recycle: the path before recycling
    std::string otherPath;  // Rename: the new path; Recycle: the path inside the Recycle Bin
    // Delete and Modify: the path under which the recorder knew the file
    // before the batch, whose content then is the earlier content.
    std::string earlierContentOf;
    bool folder = false;  // a Rename of a folder

    friend bool operator==(const FileChange&, const FileChange&) = default;
};

// The changes of one batch, in the order that undoing them newest first
// reverses exactly: a file deleted by a rename over it comes before that
// rename. `knownBefore` says which paths existed before the batch.
std::vector<FileChange> correlateNotices(std::span<const FileNotice> notices, const KnownBefore& knownBefore,
                                         const InRecycleBin& inRecycleBin);
