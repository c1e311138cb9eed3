#include "tools/monitor_standin/recycle_bin_win32.h"

#include <windows.h>

#include <cstring>
#include <set>

#include "base/paths.h"
#include "engine/file_transfer_win32.h"

namespace {

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& start) {
    return _strnicmp(text.c_str(), start.c_str(), start.size()) == 0;
}

}  // namespace

RecycleResult recycleAndLocate(const std::string& path) {
    std::string folder = recycleBinFilesFolder();
    if (folder.empty()) return {{}, "this Recycle Bin cannot be found: the stand-in knows only Wine's"};
    std::set<std::string> before = namesIn(folder);

    if (!recycleFile(path)) return {{}, "the shell did not recycle it"};

    // The shell names the file after the original, with a suffix when that
    // name is taken; anything else new was recycled by someone else.
    for (auto& name : namesIn(folder))
        if (!before.count(name) && startsWithIgnoringCase(name, std::string(fileNameOf(path))))
            return {folder + "\\" + name, {}};
    return {{}, "the shell recycled it, but not into " + folder};
}

bool eraseRecycledFile(const std::string& binPath) {
    if (!DeleteFileA(binPath.c_str())) return false;
    std::string filesFolder = binPath.substr(0, binPath.find_last_of('\\'));
    std::string trash = filesFolder.substr(0, filesFolder.find_last_of('\\'));
    DeleteFileA((trash + "\\info\\" + std::string(fileNameOf(binPath)) + ".trashinfo").c_str());
    return true;
}
