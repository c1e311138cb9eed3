#pragma once
// Keeping the Undo Bin within its size limit. None of these touch a bin
// folder that is empty or the root of a drive, nor a bin whose action list
// could not be read at start-up: the saved copies that the unread history
// names are still wanted.

// Deletes the files directly in the bin that no record names.
void sweepUndoBin();

// Drops the records of the oldest boot session and their saved copies.
// Returns whether it dropped any.
bool trimOldestBootSession();

// The rebuild's upkeep: the sweep, then whole boot sessions dropped, oldest
// first, while the bin is larger than UndoBinSize. The current session stays.
void maintainUndoBin();

// Drops every boot session but the current one.
void emptyUndoBin();

// Deletes the saved copy the record at the index names, if it has one.
void deleteSavedCopy(int index);
