#include "tests/support/shell_link_win32.h"

#include <objbase.h>
#include <shlobj.h>

LinkContents readLink(const std::string& linkPath) {
    LinkContents contents;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, 0);
        contents.target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        contents.workingFolder = text;
        link->GetDescription(text, MAX_PATH);
        contents.description = text;
        link->GetHotkey(&contents.hotKey);
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return contents;
}
