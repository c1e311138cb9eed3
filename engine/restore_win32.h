#pragma once
// Bringing an earlier version of a file back beside it.

#include <string>
#include <string_view>

// The first ".undo" name beside `path` that no file or folder holds yet:
// C:\Docs\report.doc gives C:\Docs\report.undo.doc, then
// C:\Docs\report.undo.undo.doc.
std::string makeRestoreName(const std::string& path, std::string_view suffix);

struct RestoreOutcome {
    std::string restorePath;  // the file begun beside the target; empty when none was
    bool restored = false;    // every byte of the earlier content was written
};

// Decodes the saved copy at `savedPath` into a new restore file beside
// `targetPath`, block by block, holding one block and its output at a time.
// The file at `targetPath` is never touched. A copy that is damaged, cut
// short or does not add up to its total is not restored; the file begun
// for it is left in place.
RestoreOutcome restoreSavedCopy(const std::string& savedPath, const std::string& targetPath);
