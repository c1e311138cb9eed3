#pragma once
// The shared whole-file reader of the action list, the reports and the
// saved copies.

#include <string>

enum class FileReadStatus {
    Read,        // `bytes` holds exactly the file's bytes
    Missing,     // no such file, or an empty one: not an error
    Unreadable,  // the file exists but could not be opened or read whole
};

struct WholeFile {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};

// Reads a whole file. A file that exists but cannot be opened shows "Unable
// to open data file." titled "Error!"; a short read is Unreadable too.
WholeFile readWholeFile(const std::string& path);

// readWholeFile without the message, for background work that no one waits
// on to answer a box.
WholeFile readWholeFileQuietly(const std::string& path);
