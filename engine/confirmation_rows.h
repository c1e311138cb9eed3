#pragma once
// The rows the undo dialogs show: what a program's sessions hold, what a
// confirmation is about to undo, and a file action's files. Every list is
// newest first.

#include <cstddef>
#include <span>
#include <vector>

#include "database/action_record.h"
#include "database/derived_lists.h"
#include "engine/session_undo.h"
#include "ui/list_texts.h"

// The files a program's sessions changed, newest session first and within
// one the last file first: name, action, size, date, time and the session's
// number counting from 01 for the newest. Each row's value is its record.
std::vector<ListRow> programFileRows(const ProgramEntry& entry, std::span<const ActionRecord> records);

// One row per session, newest first: "Session 01", date and time of the
// record sessionFirstAction names, which is also the row's value.
std::vector<ListRow> programSessionRows(const ProgramEntry& entry, std::span<const ActionRecord> records);

// What an undo of the sessions from the newest back to `oldestChosen` takes,
// session by session: with files, the session's files (last first) before
// its settings (last first). Columns: session number, name (a registry
// change shows its key and no size), size, "File" or "Setting", date, time.
// Each row's value is its row number.
std::vector<ListRow> sessionConfirmationRows(std::span<const ProgramSession> sessions, size_t oldestChosen,
                                             SessionPart part, std::span<const ActionRecord> records);

// The files of one file action, the last first: name, size, date, time.
// Each row's value is its record.
std::vector<ListRow> fileGroupRows(const FileActionGroup& group, std::span<const ActionRecord> records);

// One row per session of an applet, newest first: the date and time of its
// first file action, or of its first setting action when it changed no
// file. Each row's value is the session's place in the entry.
std::vector<ListRow> appletSessionRows(const AppletEntry& entry, std::span<const ActionRecord> records);
