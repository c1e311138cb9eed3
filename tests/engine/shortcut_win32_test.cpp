// The start-up shortcut, read back through the shell's own link object.

#include "engine/shortcut_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "tests/support/scratch_folder_win32.h"

namespace {

struct LinkContents {
    std::string target, workingFolder, description;
    WORD hotKey = 0;
};

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

}  // namespace

TEST(CreateShortcut, WritesTargetWorkingFolderDescriptionAndCtrlShiftU) {
    ScratchFolder folder("Retrace Shortcut Test");
    putFile(folder / "Tools\\app.exe", "MZ");
    createShortcut(folder / "Tools\\app.exe", folder / "retrace.lnk", "Retrace");

    LinkContents link = readLink(folder / "retrace.lnk");
    EXPECT_EQ(link.target, folder / "Tools\\app.exe");
    EXPECT_EQ(link.workingFolder, folder / "Tools");
    EXPECT_EQ(link.description, "Retrace");
    EXPECT_EQ(link.hotKey, 0x355);
}

TEST(CreateShortcut, ReplacesALinkOfThatPathAndWorksInAFolderTarget) {
    ScratchFolder folder("Retrace Shortcut Test");
    putFile(folder / "Tools\\app.exe", "MZ");
    createShortcut(folder / "Tools\\app.exe", folder / "retrace.lnk", "first");
    createShortcut(folder / "Tools", folder / "retrace.lnk", "second");

    LinkContents link = readLink(folder / "retrace.lnk");
    EXPECT_EQ(link.target, folder / "Tools");
    EXPECT_EQ(link.workingFolder, folder / "Tools") << "a folder is its own working folder";
    EXPECT_EQ(link.description, "second");
}
