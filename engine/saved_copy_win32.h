#pragma once
// Reads saved copies from the Undo Bin.

#include <optional>
#include <string>

#include "engine/saved_copy_start.h"

// The whole earlier content held by the saved copy at `savedPath`; nothing
// when the path lies outside the Undo Bin, or the file is missing, empty, unreadable or damaged. An unreadable file
// shows the whole-file reader's message.
std::optional<std::string> readSavedCopy(const std::string& savedPath);

// Whether an undo could bring the saved copy's content back: the copy lies
// in the Undo Bin and reads back whole. Asked before an undo, so it shows nothing.
bool savedCopyReadable(const std::string& savedPath);

// The start of the saved copy's content, for a preview; nothing for a copy
// outside the Undo Bin. Shows nothing.
SavedCopyStart peekSavedCopy(const std::string& savedPath, size_t limit);
