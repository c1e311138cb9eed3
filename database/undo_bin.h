#pragma once
// What the Undo Bin keeps and what it forgets: the decisions of its upkeep,
// made from the folder's file names and the records. The files themselves
// are deleted by the caller.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/ignore_case_hash.h"
#include "database/action_record.h"

// True for a folder whose files the upkeep must never delete wholesale: no
// folder at all, or the root of a drive or a share, where the sweep would
// take a person's own files.
bool isUnsafeBinFolder(std::string_view binFolder);

// One entry directly in a folder, as a listing finds it.
struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// Whether a folder named as the Undo Bin may be used as one: it is empty, or
// holds something a bin is made of (the action list or the file a save
// writes it to, a report, a list kept aside as "BACKUP...", or one of the
// Redo, SO and Staging folders). A folder of other files alone is a
// person's own, and the sweep would delete every file in it.
bool countsAsUndoBin(std::span<const FolderEntry> entries);

// Whether a saved copy's path, as a record names it, lies directly in the
// bin folder or in its Redo folder: the only places a saved copy may be read
// or deleted from. The path must spell the bin folder as the settings do,
// in any case; a relative path, "." or "..", a stream (":"), another drive,
// share or spelling (a short 8.3 name) all count as outside.
bool isSavedCopyInBin(std::string_view binFolder, std::string_view path);

// Files directly in the bin that no file record's dataC names, by their
// indices in `fileNames`, ascending. A dataC names a file when it is the
// file's full path "<binFolder>\<name>", in any case. Names beginning with
// "BACKUP" (any case), the action list, the file a save writes it to and the
// two reports are never listed, nor the saved copies that `keptAside`, the readable records
// of the lists kept aside for their damage, name: such a list can only ever
// bring back the versions whose copies remain.
std::vector<size_t> filesToSweep(std::string_view binFolder, std::span<const std::string> fileNames,
                                 std::span<const ActionRecord> records,
                                 std::span<const ActionRecord> keptAside = {});

// Whether a file in the bin is an action list kept aside for its damage:
// "BACKUP actionlist.000", "BACKUP 2 actionlist.000", ...
bool isActionListBackup(std::string_view fileName);

// The action list file and the file a save writes it to.
bool isActionListFile(std::string_view fileName);

// Which of the first `end` records name a saved copy that dropping them may
// delete: one that no record from `end` on names too, as a redone action
// names the saved copy of the undone one.
std::vector<bool> savedCopiesToDelete(std::span<const ActionRecord> records, size_t end);

// The end of the oldest boot session: the first boot marker at index 1 or
// above. 0 when there is none, and nothing can be dropped.
size_t oldestBootSessionEnd(std::span<const ActionRecord> records);

// The first boot marker behind `end`: where the oldest boot session would
// end with the session behind it. 0 when there is none.
size_t nextBootSessionEnd(std::span<const ActionRecord> records, size_t end);

// The saved copy in the bin that a record names, or "" when it has none: only
// Deletes and Modifies have one (a Recycle's dataC lies in the Recycle Bin).
std::string_view savedCopyOf(const ActionRecord& record);

// The name of the file directly in the bin that a record's dataC names, as
// the sweep reads it: only file records name one. "" when it names none.
std::string_view binFileNamedBy(std::string_view binFolder, const ActionRecord& record);

// Paths as the monitor wrote them, found by any spelling of the same path.
// A record holds its paths in lower case; under a file system that tells
// case apart, looking a file up by another case than its own searches the
// whole folder for it.
using PathSpellings = std::unordered_set<std::string, IgnoreCaseHash, IgnoreCaseEqual>;

