#include "monitor/recycle_bin_win32.h"

#include <windows.h>
#include <sddl.h>

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

std::vector<std::string> recycleBinFolders() {
    if (std::string wine = recycleBinFilesFolder(); !wine.empty()) return {wine};
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    HANDLE token;
    if (length < 2 || length >= sizeof windows || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::vector<std::string> folders;
    char buffer[256];
    DWORD size = 0;
    char* sid = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        folders.push_back(std::string(windows, 2) + "\\$Recycle.Bin\\" + sid);
        LocalFree(sid);
    }
    CloseHandle(token);
    return folders;
}
