#pragma once
// File questions that lists, dialogs and the report reader ask of the disk.

#include <cstdint>
#include <string>

// Whether a directory search finds a file or folder of that name. A name
// with wildcards names nothing, rather than whatever it happens to match.
bool fileExists(const std::string& path);

// The low 32 bits of the size of the file a directory search finds for the
// path; 0 when there is none.
uint32_t fileSizeOf(const std::string& path);
