#pragma once
// Where the system keeps recycled files, for the monitors that must tell a
// recycled file from a deleted one.

#include <string>
#include <vector>

// Wine's Recycle Bin: the shell moves a recycled file into the "files"
// folder of the desktop's trash ($XDG_DATA_HOME/Trash, by default
// $HOME/.local/share/Trash) and notes where it came from beside it. Its
// Windows path (Z:\...), or empty when it cannot be found, as outside Wine.
std::string recycleBinFilesFolder();

// The folders that receive this user's recycled files: Wine's, or the
// user's folder in the system drive's "$Recycle.Bin" on Windows.
std::vector<std::string> recycleBinFolders();
