#pragma once
// Which records an undo of program or Control Panel sessions takes, and in
// what order. A session is chosen by its place in the entry's session list;
// it and every newer session are undone, the newest first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "database/derived_lists.h"

enum class SessionPart { SettingsOnly, SettingsAndFiles };

// A program's sessions from the newest back to `oldestChosen`: in each, the
// setting actions from the last to the first, then, with files, the file
// actions from the last to the first. A choice outside the list takes nothing.
std::vector<int32_t> programSessionsUndoOrder(std::span<const ProgramSession> sessions, size_t oldestChosen,
                                              SessionPart part);

// A Control Panel applet's sessions from the newest back to `oldestChosen`:
// in each, the file actions from the last to the first, then the setting
// actions from the last to the first.
std::vector<int32_t> appletSessionsUndoOrder(std::span<const ProgramSession> sessions, size_t oldestChosen);

// The record that stands for a session in lists: its first setting action,
// or its first file action when it has none; -1 for an empty session.
int32_t sessionFirstAction(const ProgramSession& session);

// The session that `sessionFirstAction` names by that record, so a row keeps
// its session however its list is sorted; nothing when none does.
std::optional<size_t> sessionStartingWith(std::span<const ProgramSession> sessions, int32_t action);
