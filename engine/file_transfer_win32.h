#pragma once
// The file operations undo and redo share: whole-file copies and writes,
// recycling, and making folders.

#include <string>
#include <string_view>

// What a copy does when the destination exists already.
enum class ExistingFile {
    Keep,     // the copy fails and the file there stays as it is
    Replace,  // the file there is replaced
};

// Copies every byte of `source` to `destination`, piece by piece, keeping
// the source's last-write time; its folders are made first. An empty file
// is a file and is copied too. True only when the destination is complete
// and of the source's full size; on failure a destination this call began
// is removed, so no part-copy is left looking like the file.
bool copyWholeFile(const std::string& source, const std::string& destination, ExistingFile existing);

// Writes `data` as the whole file at `path`, replacing any file there,
// after making its folders. True when every byte was written.
bool writeWholeFile(const std::string& path, std::string_view data);

// Sends the file to the Recycle Bin. A file that cannot go there (on a
// network share, or too large) is only deleted for good after the shell has
// warned and the user agreed. True when the shell reports success.
bool recycleFile(const std::string& path);

// Makes every folder of the folder that holds `path` (or of `path` itself
// when it names a folder), from the drive down. Folders that exist already
// are fine; nothing is reported.
void makeFolders(const std::string& path);
