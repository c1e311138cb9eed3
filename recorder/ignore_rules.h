#pragma once
// What the recorder leaves out: the places it never watches (its own files,
// the Undo Bin, tool folders), and the changes the ignore settings name.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recorder/file_correlator.h"
#include "settings/settings.h"

class IgnoreRules {
public:
    // `ownFolders`: the Undo Bin and the recorder's own files, never watched;
    // `recycleBins`: the folders that hold recycled files.
    IgnoreRules(const Settings& settings, std::vector<std::string> ownFolders, std::vector<std::string> recycleBins);

    // A path the recorder does not look at: inside one of its own folders,
    // or in a folder whose name begins with a dot, as tools and Unix
    // programs name the folders they keep to themselves.
    bool excluded(std::string_view path) const;

    bool inRecycleBin(std::string_view path) const;

    // Whether the settings leave the change out of the report: a file of an
    // ignored group or of szIgnorePaths (a rename only when both of its
    // paths are), a file above LargeFileSize, and with IgnoreRecycleBin a
    // change inside the Recycle Bin.
    bool ignores(const FileChange& change, uint64_t size) const;

private:
    bool ignoresPath(std::string_view path) const;

    std::vector<std::string> extensions_;  // of every ignored group, without the dot
    std::vector<std::string> paths_;       // files, and folders with all below them
    uint32_t largeFileSize_;
    bool ignoreRecycleBin_;
    std::vector<std::string> ownFolders_;
    std::vector<std::string> recycleBins_;
};

// Whether `path` is `folder` itself or lies anywhere below it, in any case.
bool isWithin(std::string_view path, std::string_view folder);
