#pragma once
// The rows of the history dialogs: every program, file action or Control
// Panel applet, the collection's last entry on top. Each row's value is its
// entry's index in the collection.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "database/action_record.h"
#include "database/derived_lists.h"
#include "ui/list_texts.h"

// Program, files changed in all its sessions, sessions.
std::vector<ListRow> programHistoryRows(std::span<const ProgramEntry> programs);

// Name (the file, or for several files the folder of the first), action,
// program, files, their total size, date and time of the first action.
// `isFolder` says whether a path names a folder now.
std::vector<ListRow> fileHistoryRows(std::span<const FileActionGroup> groups, std::span<const ActionRecord> records,
                                     const std::function<bool(const std::string&)>& isFolder);

// Applet, sessions.
std::vector<ListRow> appletHistoryRows(std::span<const AppletEntry> applets);
