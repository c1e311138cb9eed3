#pragma once
// Keeping the Undo Bin within its size limit. None of these touch a bin
// folder that is empty or the root of a drive, nor a bin whose action list
// could not be read at start-up: the saved copies that the unread history
// names are still wanted.

#include <cstddef>
#include <string>

#include "database/undo_bin.h"

// Whether the folder counts as an Undo Bin by what it holds now. A folder
// that cannot be listed does not.
bool countsAsUndoBinFolder(const std::string& folder);

// The Undo Bin folder of freshly loaded settings, without a trailing
// backslash, when Retrace may keep its files there; "" for the root of a
// drive or share, or a folder that does not count as an Undo Bin. Nothing is
// swept, trimmed or written where this is "".
std::string undoBinFolderInUse();

// Whether a saved copy that a record names may be read or deleted: it lies
// directly in the Undo Bin or in its Redo folder.
bool isSavedCopyInUndoBin(const std::string& path);

// Start-up: makes the Undo Bin folder when it is missing, and tells once
// when it holds files that are not a bin's, naming the folder and where to
// choose another.
void prepareUndoBinFolder();

// Start-up has the history thread list the bin while it loads the history,
// and its rebuild's upkeep takes that listing rather than waiting for a new
// one; a file saved meanwhile waits for a later sweep. Once that rebuild is
// done, forget the listing: it grows stale.
void listUndoBinAhead();
void forgetUndoBinListingAhead();

// Deletes the files directly in the bin that no record names, and keeps
// what is left as the last listing of the bin. After a trimUndoBin that left
// a listing unswept, the files of that listing.
void sweepUndoBin();

// A rebuild that merges new records forgets the listing an earlier one left
// unswept: a file it holds may be named now.
void forgetUnsweptUndoBinListing();

// Drops the records of the oldest boot session and their saved copies.
// Returns whether it dropped any.
bool trimOldestBootSession();

struct BinUpkeep {
    size_t dropped = 0;  // records dropped from the front of actionList
    // Records of dropped sessions that stayed, now at the front of
    // actionList, because their saved copies could not be deleted.
    size_t keptInFront = 0;
    bool swept = false;  // the bin was swept too
};

// The rebuild's upkeep: the sweep, then whole boot sessions dropped, oldest
// first, while the bin is larger than UndoBinSize. The current session stays.
BinUpkeep maintainUndoBin();

// The tray click's upkeep, without listing the bin: its size is that of the
// last listing, with the saved copies named by the records from `firstNew`
// on, and whole boot sessions are dropped as maintainUndoBin drops them.
// The files that no record names are left for the next sweepUndoBin, which
// leaves the bin as maintainUndoBin would have. Without a listing of this
// bin yet, it lists it: a bin within its limit is left for that sweep, else
// it is maintainUndoBin. So is a bin over its limit that was not swept since
// its last listing, so that no record goes for a file that no record names.
// New saved copies are looked up by their `spellings`, where they have one.
BinUpkeep trimUndoBin(size_t firstNew, const PathSpellings& spellings = {});

// Drops every boot session but the current one.
void emptyUndoBin();
