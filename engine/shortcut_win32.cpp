#include "engine/shortcut_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/file_operations_win32.h"

namespace {
// Virtual key U with Shift and Control.
constexpr WORD kHotKey = MAKEWORD('U', HOTKEYF_SHIFT | HOTKEYF_CONTROL);
}  // namespace

void createShortcut(const std::string& targetPath, const std::string& linkPath, const std::string& description) {
    HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(targetPath.c_str());
        link->SetDescription(description.c_str());
        link->SetWorkingDirectory(folderOf(targetPath).c_str());
        link->SetHotkey(kHotKey);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t widePath[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH))
                file->Save(widePath, TRUE);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
}
