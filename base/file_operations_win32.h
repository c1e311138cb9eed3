#pragma once
// File questions that lists, dialogs and the report reader ask of the disk,
// and opening a file for the user.

#include <cstdint>
#include <string>
#include <vector>

// Whether a directory search finds a file or folder of that name. A name
// with wildcards names nothing, rather than whatever it happens to match.
bool fileExists(const std::string& path);

// Whether a directory search finds a folder of that name.
bool folderExists(const std::string& path);

// The folder a path shows the user: the path itself when it names an existing
// folder, else the text before its last backslash (see paths.h).
std::string folderOf(const std::string& path);

// The low 32 bits of the size of the file a directory search finds for the
// path; 0 when there is none.
uint32_t fileSizeOf(const std::string& path);

// What one search of a folder finds: its files, subfolders left out, with
// their sizes by the same index, and the sum of the sizes of all its
// entries, as folderSize counts them. Empty when it cannot be listed.
struct FolderListing {
    std::vector<std::string> fileNames;
    std::vector<uint64_t> fileSizes;
    uint64_t size = 0;
};
FolderListing listFolder(const std::string& folder);

// The names of the files directly in a folder, subfolders left out.
std::vector<std::string> filesIn(const std::string& folder);

// The sum of the sizes of the entries directly in a folder, in 64 bits so a
// folder over 4 GB is not read as a small one; 0 when it cannot be listed.
uint64_t folderSize(const std::string& folder);

// Opens the file with its default program when `tryFile` is set; when that
// fails (the file is gone, no program is associated), or when `tryFile` is not
// set, opens the folder it is in instead. Shows nothing when both fail.
void openFileOrFolder(const std::string& path, bool tryFile);
