#pragma once
// "actionlist.000" in the Undo Bin folder: loading it into actionList at
// start-up and saving actionList back after every change.

#include <functional>
#include <string>

// The file's full path, "%s\actionlist.000" from the Undo Bin folder of
// freshly loaded settings, so a changed folder is followed.
std::string actionListPath();

// Where a save writes the new list before it replaces the old one, beside it
// in the Undo Bin folder. A save that dies half way leaves this file, never
// a cut-short list.
std::string actionListTemporaryPath();

enum class ActionListLoad {
    Loaded,      // the file was read; actionList holds its live records
    Empty,       // no file, or an empty one: an empty history
    Damaged,     // a record did not fit: actionList is empty, the file kept aside
    Unreadable,  // the file exists but could not be read whole: actionList is
                 // empty and the file is left as it is
};

// Replaces actionList with the file's records, leaving out undone ones.
// A damaged file is first moved aside to a "BACKUP" name in the Undo Bin
// folder, so the next save does not overwrite the only copy of the history.
ActionListLoad loadActionList();

// True from a load until the next one when the file holds a history that is
// not in actionList: it could not be read whole, or it was damaged and could
// not be moved aside. saveActionList then leaves the file alone, and the
// Undo Bin sweep must leave the bin alone too, since the saved copies that
// the unread records name are still wanted.
bool actionListFileUnread();

// Writes the whole of actionList, undone records included. The list goes to
// the temporary file first and replaces the old file only once it is written
// and flushed whole; any failure leaves the old file as it was. A file that
// already holds exactly these bytes, as this program last read or wrote it,
// is not written again. Returns
// whether the file now holds the list: false on a failure, which is
// otherwise silent, and while actionListFileUnread(). It first waits for the
// history work, so saves reach the disk in the order they were asked for.
bool saveActionList();

// saveActionList for the history work itself, which must not wait for itself.
// It stops early, leaving the old file as it was and answering false, once
// `giveUp` answers true; it is asked as the list is made and written.
bool writeActionList(const std::function<bool()>& giveUp = [] { return false; });
