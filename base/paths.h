#pragma once
// Folder names of paths.

#include <functional>
#include <string>
#include <string_view>

// The text before the path's last backslash; a path without a backslash is
// its own folder, and an empty path has none. Looks at the text alone.
std::string_view containingFolder(std::string_view path);

// The folder a path shows the user: the path itself when `isFolder` says it
// names a folder, else containingFolder. C:\Docs\report.doc gives C:\Docs,
// C:\report.doc gives C:.
std::string folderOf(std::string_view path, const std::function<bool(const std::string&)>& isFolder);

// The text after the path's last backslash: the file name of C:\Docs\report.doc
// is report.doc; a path without a backslash is all file name.
std::string_view fileNameOf(std::string_view path);

// A path cut before the extension of its file name: C:\Docs\report.doc
// gives C:\Docs\report and .doc, C:\Docs.old\README gives the whole path
// and no extension.
struct PathStem {
    std::string_view stem;
    std::string_view extension;  // from the file name's last ".", or empty
};
PathStem splitExtension(std::string_view path);

// The file of that name in the folder of `path`: the help file beside the
// program is fileBeside(programPath, "Retrace.hlp").
std::string fileBeside(std::string_view path, std::string_view name);
