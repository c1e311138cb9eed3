#include "tools/monitor_standin/recycle_bin_win32.h"

#include <windows.h>

#include <cstring>
#include <set>

#include "browse/paths.h"
#include "engine/file_transfer_win32.h"

namespace {

// Wine's own exports for mapping between host and Windows paths; absent on
// Windows, where this module finds no Recycle Bin.
using UnixNameOf = char*(CDECL*)(const WCHAR*);
using DosNameOf = WCHAR*(CDECL*)(const char*);

std::string environmentValue(const char* name) {
    char value[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::wstring wide(const std::string& text) {
    std::wstring result(text.size(), L'\0');
    result.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), result.data(), int(result.size())));
    return result;
}

std::string narrow(const WCHAR* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

// The trash folder on the host, chosen as Wine's shell chooses it: the
// desktop's data folder when one is set, otherwise under the home folder.
std::string hostTrashFolder(UnixNameOf unixNameOf) {
    for (const char* name : {"WINE_HOST_XDG_DATA_HOME", "XDG_DATA_HOME"}) {
        std::string data = environmentValue(name);
        if (!data.empty() && data[0] == '/') return data + "/Trash";
    }
    // WINEHOMEDIR is an NT path such as \??\Z:\home\me.
    std::string home = environmentValue("WINEHOMEDIR");
    if (home.rfind("\\??\\", 0) != 0) return {};
    home[1] = '\\';
    char* host = unixNameOf(wide(home).c_str());
    if (!host) return {};
    std::string folder = std::string(host) + "/.local/share/Trash";
    HeapFree(GetProcessHeap(), 0, host);
    return folder;
}

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

std::string recycleBinFilesFolder() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto exported = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(kernel, name)); };
    auto unixNameOf = reinterpret_cast<UnixNameOf>(exported("wine_get_unix_file_name"));
    auto dosNameOf = reinterpret_cast<DosNameOf>(exported("wine_get_dos_file_name"));
    if (!unixNameOf || !dosNameOf) return {};
    std::string trash = hostTrashFolder(unixNameOf);
    if (trash.empty()) return {};
    WCHAR* folder = dosNameOf((trash + "/files").c_str());
    if (!folder) return {};
    std::string result = narrow(folder);
    HeapFree(GetProcessHeap(), 0, folder);
    return result;
}

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
