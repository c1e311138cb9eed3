#pragma once
// The shortcut that starts the program with Windows.

#include <string>

// Writes a shell link at `linkPath` to `targetPath`, with the description,
// the target's folder as its working folder and the hot key Ctrl+Shift+U,
// replacing a link of that path. Nothing is reported; a link that cannot
// be made is not written.
void createShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description);
