#pragma once
// Redo of the last file undo: what each undo keeps for it, and repeating
// the undone actions.

#include <string>

// The Redo folder inside the Undo Bin the settings name now; "" when that
// folder is not in use as a bin (undoBinFolderInUse), where no Redo folder
// may be made.
std::string redoFolderPath();

// Keeps the record at `index` in the redo list, with a copy in the Redo
// folder of the file its undo is about to destroy. Called before anything
// on disk changes; a copy that fails is not kept.
void recordForRedo(int index);

// Tells the newest redo entry which restore file its undo wrote, so that
// redo takes away exactly that file.
void keepRestoreFileForRedo(const std::string& restorePath);

// Repeats every undone action of the list, oldest action first, so that
// actions that built on one another come back in their order; each one
// that succeeds puts a fresh copy of its record at the end of actionList.
// One that cannot be redone is dropped silently. Ends with clearRedo.
void redoLastUndo();

// Forgets the list and deletes the files of the Redo folder (made when
// missing).
void clearRedo();
