#pragma once
// The rows of the Retrace Wizard's lists, from the derived lists and the
// action list, newest first. Dates and times are those of the record that
// stands for the row.

#include <cstdint>
#include <span>
#include <vector>

#include "browse/wizard_selection.h"
#include "database/action_record.h"
#include "database/derived_lists.h"
#include "ui/list_texts.h"

// Every record of every file action, the newest action first and within one
// its last record first: name, date, time. Each row's value is its record.
std::vector<ListRow> fileActionRows(std::span<const FileActionGroup> groups, std::span<const ActionRecord> records);

enum class ProgramsListed { All, WithSettings };

// One row per program, the last first, standing for the first record of its
// first session: its first setting action, or, when it changed no setting,
// its first file action; WithSettings leaves out the programs whose first
// session changed no setting. Program, date, time; the value is the entry.
std::vector<ListRow> programRows(std::span<const ProgramEntry> programs, std::span<const ActionRecord> records,
                                 ProgramsListed listed);

// One row per applet whose first session changed settings, the last first:
// the applet's file, date and time of that first setting action; the value
// is the entry.
std::vector<ListRow> appletRows(std::span<const AppletEntry> applets, std::span<const ActionRecord> records);

// The file actions of a program's sessions, the last session first and
// within one the last action first: name, date, time; the value is the record.
std::vector<ListRow> sessionFileRows(std::span<const ProgramSession> sessions, std::span<const ActionRecord> records);

// One row per record, in the order given: name, date, time; the value is
// the record. An index outside the action list has no row.
std::vector<ListRow> recordRows(std::span<const int32_t> indices, std::span<const ActionRecord> records);

// The sessions that changed settings, the last first: date and time of the
// first setting action; the value is the session's index.
std::vector<ListRow> settingSessionRows(std::span<const ProgramSession> sessions,
                                        std::span<const ActionRecord> records);

// The sessions from the last back to `oldestChosen` that changed settings,
// as settingSessionRows shows them but each with the value 0. None when the
// chosen session is not in the list.
std::vector<ListRow> sessionsToUndoRows(std::span<const ProgramSession> sessions, int32_t oldestChosen,
                                        std::span<const ActionRecord> records);

// The points of one kind, the last first; each row's value is its position.
// An hour: date, the hour's text. A program start: program, date, time.
// A boot: date, time.
std::vector<ListRow> startOverPointRows(const ActionIndex& index, StartOverPoint point,
                                        std::span<const ActionRecord> records);

// The points from the last back to the chosen one: program (a program start's
// only), date, and the hour's text for an hour or the time; each value is 0.
std::vector<ListRow> startOverRows(const ActionIndex& index, StartOverChoice choice,
                                   std::span<const ActionRecord> records);

// The records Find lists, the newest first: live file actions of that kind
// that belong to no program's settings, downloads or not as asked.
std::vector<int32_t> foundFileRecords(std::span<const ActionRecord> records, int32_t kind, int32_t download);

// Program, file; the value is the record.
std::vector<ListRow> foundFileRows(std::span<const int32_t> indices, std::span<const ActionRecord> records);

// The sessions pages' titles, with the program's name as its list shows it
// or the applet's file name: "Program writer sessions", "Control Panel
// main.cpl Select session". Without an entry, the words alone.
std::string programSessionsTitle(std::span<const ProgramEntry> programs, int32_t entry,
                                 std::span<const ActionRecord> records);
std::string appletSessionsTitle(std::span<const AppletEntry> applets, int32_t entry);
