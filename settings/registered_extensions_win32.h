#pragma once
// The file types registered under HKEY_CLASSES_ROOT, and the File List built
// from them and the settings.

#include <string>
#include <vector>

// The extension (without its dot) of the subkey of HKEY_CLASSES_ROOT at the
// index when its file type has a program to open it; otherwise the empty
// string. Sets `end` when the index is past the last subkey.
std::string registeredExtensionAt(unsigned index, bool& end);

// Every non-empty registeredExtensionAt, in the registry's order.
std::vector<std::string> registeredExtensions();

// Every registered data-file extension, adjusted by the settings; removed
// extensions stay as empty entries.
std::vector<std::string> buildDataFileExtensions();
