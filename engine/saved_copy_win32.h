#pragma once
// Reads saved copies from the Undo Bin.

#include <optional>
#include <string>

// The whole earlier content held by the saved copy at `savedPath`; nothing
// when the path lies outside the Undo Bin, or the file is missing, empty, unreadable or damaged. An unreadable file
// shows the whole-file reader's message.
std::optional<std::string> readSavedCopy(const std::string& savedPath);
