#pragma once
// The entry point of every undo, and the undo of file actions.

#include <cstdint>
#include <span>
#include <string>

// Undoes the record at `index` in actionList, whatever its kind: marks it
// undone (for good, also when the undo then fails), then puts back the
// settings file, the registry value or key, or the file action. Returns the
// path of the file a file undo brought back, to show its folder; empty for
// settings, recycled files and failures that left nothing, and for an
// index outside the list.
std::string undoAction(int index);

// undoAction for each record, in the order given, except those already
// undone: the lists are not rebuilt between undos, and a second undo of a
// record would put a second earlier version beside the first. The busy
// panel counts the files ("Undoing 1,825 of 3,000: name..."); the files that
// could not be undone are named in one "Undo Error" at the end. Boot
// markers are marked undone and passed over: a point in time has nothing to
// take back.
void undoActions(std::span<const int32_t> indices);

// Puts the file system back as it was before the file action at `index`,
// after keeping what redo needs. Never writes over a file that exists now:
// an earlier version comes back beside it under a ".undo" name. A Create or
// Copy whose file is gone already counts as done. A failure shows "Undo
// Error" once.
std::string undoFileAction(int index);
