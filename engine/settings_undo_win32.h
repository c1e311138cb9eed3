#pragma once
// Undo of settings changes: registry records and INI-style settings files.
// Both take an index into actionList whose record undoAction has already
// marked undone; neither shows anything nor keeps anything for redo.

#include <string>

// Writes a registry value back, deletes a value the change made, or deletes
// a key, as registryUndoOf decides.
// Registry calls that fail are ignored.
void undoRegistryAction(int index);

// Writes back, through the profile interface, only the entries of the file
// that differ between its text before the change (the record's saved copy)
// and its text just after it (laterFileContent). A missing or damaged saved
// copy leaves the file alone; an empty one means the file was empty before.
// Texts that count as the same leave the file untouched.
void undoSettingsFile(int index);

// The file's text just after the change at `index`: the saved copy of the
// later change laterChangeOf finds (empty when that copy cannot be read), or
// else the file as it is now (empty when it is missing or unreadable).
std::string laterFileContent(int index);
