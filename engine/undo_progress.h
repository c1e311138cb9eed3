#pragma once
// What a long undo tells while it works and when it ends.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// The message every failed file undo shows.
extern const char* const undoFailedMessage;

// The busy panel's text for the `done`th file of `total`, counted with
// thousands separators: "Undoing 1,825 of 3,000: file01825.txt...". An undo
// of one file says only "Undoing file01825.txt...".
std::string undoProgressText(size_t done, size_t total, std::string_view fileName);

// One message for every file of an undo that could not be undone: the
// failure message, then the files, one a line. A long list names its first
// files and says how many more there are, so the box fits on the screen.
std::string undoFailuresText(std::span<const std::string> paths);
