// The start-up shortcut, read back through the shell's own link object.

#include "engine/shortcut_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/scratch_folder_win32.h"
#include "tests/support/shell_link_win32.h"

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
