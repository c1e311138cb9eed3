#pragma once
// The groupings the user undoes by: programs with their runs, Control Panel
// applets with their runs, file actions (one Explorer operation on many files
// is one action), and the points in time Start Over can go back to.
//
// They hold indices into the action list and are rebuilt from scratch at every
// rebuild; undo and redo between rebuilds leave them as they are.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"

// One run of a program or applet, indices ascending.
struct ProgramSession {
    std::vector<int32_t> settingActions;  // records with isSetting nonzero
    std::vector<int32_t> fileActions;     // the others
    bool operator==(const ProgramSession&) const = default;
};

// A program by module name, with its runs in the order they began.
struct ProgramEntry {
    char programName[9] = {};
    std::vector<ProgramSession> sessions;
    bool operator==(const ProgramEntry&) const = default;
};

// A Control Panel applet by the path of its file, with its runs.
struct AppletEntry {
    std::string appletPath;
    std::vector<ProgramSession> sessions;
    bool operator==(const AppletEntry&) const = default;
};

// One user-level file action: a single record, or the records of one Explorer
// operation.
struct FileActionGroup {
    std::vector<int32_t> actions;
    bool operator==(const FileActionGroup&) const = default;
};

// The points Start Over offers, indices ascending.
struct ActionIndex {
    std::vector<int32_t> hourStarts;     // the first record of each new hour
    std::vector<int32_t> programStarts;  // the first record of each program run
    std::vector<int32_t> bootMarkers;
    bool operator==(const ActionIndex&) const = default;
};

// Ordered by each program's (applet's) most recent record, oldest first; the
// file action groups by their first record.
extern std::vector<ProgramEntry> programList;
extern std::vector<AppletEntry> appletList;
extern std::vector<FileActionGroup> fileActionList;
extern ActionIndex actionIndex;

// Changes with every build, so that indices taken from earlier lists, which
// may now name other entries, can be told apart from current ones.
extern uint32_t derivedListsGeneration;

// Replaces the four lists with those of `records`. Once `giveUp` answers
// true, which it is asked between the steps, it stops and leaves no lists,
// answering false: a later build replaces them.
bool buildDerivedLists(std::span<const ActionRecord> records,
                       const std::function<bool()>& giveUp = [] { return false; });
void freeDerivedLists();

// The lists themselves, for the records given.
std::vector<ProgramEntry> makeProgramList(std::span<const ActionRecord> records);
std::vector<AppletEntry> makeAppletList(std::span<const ActionRecord> records);
std::vector<FileActionGroup> makeFileActionList(std::span<const ActionRecord> records);
ActionIndex makeActionIndex(std::span<const ActionRecord> records);

// The newest `count` entries of makeProgramList, oldest first, with their
// names only, and the newest `count` groups of makeFileActionList: what the
// tray menu shows. Found from the end of the history, so they cost what the
// newest entries take rather than the whole history.
std::vector<ProgramEntry> newestProgramEntries(std::span<const ActionRecord> records, size_t count);
std::vector<FileActionGroup> newestFileActionGroups(std::span<const ActionRecord> records, size_t count);

// The applet paths of the newest `count` entries of makeAppletList, oldest
// first, found from the end of the history in the same way. Both this and
// newestProgramEntries are NewestEntriesFinder's (newest_entries.h) first
// calls.
std::vector<std::string> newestAppletPaths(std::span<const ActionRecord> records, size_t count);

// The name a record files under in makeProgramList, and the path it files
// under in makeAppletList; nothing for a record of no such entry.
std::optional<std::string_view> programEntryNameOf(const ActionRecord& record);
std::optional<std::string_view> appletEntryPathOf(const ActionRecord& record);

// Element j tells whether record j is the first of its run: no record since
// the last boot marker (kind 6) has its program name and process id, undone
// ones aside. A process id names a run only within one boot session.
std::vector<uint8_t> findRunStarts(std::span<const ActionRecord> records);

// Element i tells whether record i begins a new file action rather than
// continuing the operation of the nearest live record before it: that one
// continues it only with the same process and kind, and a Delete or Recycle
// in the same folder, or a Copy or Move from the same folder or into it.
std::vector<uint8_t> findGroupStarts(std::span<const ActionRecord> records);

// Element j tells whether record j is the first of its process since the last
// boot marker, counting every record, undone or not, of any program.
std::vector<uint8_t> findProgramStarts(std::span<const ActionRecord> records);
