#pragma once
// What redo needs to repeat the file undos made since it was last cleared:
// a copy of each undone record, and the files the undo took away.

#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"

struct RedoEntry {
    ActionRecord record;
    // The copy in the Redo folder of what the undo destroyed: the file a
    // Create or Copy had made, or the saved copy of a Delete or Modify.
    // Empty when nothing was kept.
    std::string keptPath;
    // The restore file the undo of a Delete or Modify wrote beside the file,
    // which redo takes away again.
    std::string restorePath;
};

// Oldest first. Process-wide and held in memory only: the list does not
// outlive the program.
extern std::vector<RedoEntry> redoList;

inline int redoCount() { return int(redoList.size()); }

// The file undoing the record destroys and redo needs back: the file a
// Create or Copy made, a Delete's or Modify's saved copy; empty otherwise.
std::string fileToKeepForRedo(const ActionRecord& record);

// The name a kept file gets in the Redo folder: its own file name, unless
// an entry keeps a file of that name already (two files of one name in two
// folders), then the name with " (2)", " (3)", ... before its extension.
std::string keptFileName(std::string_view fileName, const std::vector<RedoEntry>& entries);
