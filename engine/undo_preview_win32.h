#pragma once
// The preview of an undo: a read-only window of what the undo will bring
// back and where, opened from the confirmations and the history dialogs.
// Nothing is undone from it.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

// The undo of one file action in detail; of several, one row each.
void showFileActionsPreview(HWND owner, std::span<const int32_t> actions);

// The undo of sessions, given the records it takes in their order: one row
// per setting it puts back, and the count of its file actions.
void showSessionPreview(HWND owner, std::span<const int32_t> order);

// The line "Confirm Undo" shows before the undo of the file action: that its
// earlier version is not available, or that the file changed since. Empty
// when neither, and for records that are not file actions.
std::string fileUndoNotice(int actionIndex);
