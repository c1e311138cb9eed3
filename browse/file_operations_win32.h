#pragma once
// File questions that lists, dialogs and the report reader ask of the disk.

#include <cstdint>
#include <string>
#include <vector>

// Whether a directory search finds a file or folder of that name. A name
// with wildcards names nothing, rather than whatever it happens to match.
bool fileExists(const std::string& path);

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
