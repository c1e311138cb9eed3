#pragma once
// The Recycle Bin as Wine keeps it: the shell moves a recycled file into the
// "files" folder of the desktop's trash ($XDG_DATA_HOME/Trash, by default
// $HOME/.local/share/Trash) and writes where it came from into a
// ".trashinfo" file beside that folder. The shell's Recycle Bin folder shows
// only display names, so the stand-in finds the file by its own means.

#include <string>

#include "monitor/recycle_bin_win32.h"

struct RecycleResult {
    std::string binPath;  // the file's path inside the Recycle Bin; empty on failure
    std::string fault;    // why it failed
};

// Recycles one file through the shell, as Retrace does, and finds where the
// shell put it.
RecycleResult recycleAndLocate(const std::string& path);

// Deletes a recycled file for good, with the trash's note of where it came
// from. Returns false when the file itself could not be deleted.
bool eraseRecycledFile(const std::string& binPath);
