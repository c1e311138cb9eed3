// The menu probe tried on a program of its own whose hidden window opens a
// pop-up menu on a tray-style click, as retrace.exe does.

#include <gtest/gtest.h>

#include "tests/e2e/automation_win32.h"
#include "tests/e2e/menu_probe/menu_windows_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"

namespace {

const char targetListing[] = "0|BD|\n"
                             "0|S|\n"
                             "0|P|Undo Programs\n"
                             "  1030||Notepad\n"
                             "  1031||Notepad modify of C:\\\\...\\\\readme.txt\n"
                             "  0|P|Older\n"
                             "    1032||Paint\n"
                             "  0|S|\n"
                             "  1040||More...\n"
                             "1041|GX|Undo Files\n"
                             "0|S|\n"
                             "1021|G|Redo\n"
                             "1027|C|Monitoring\n"
                             "0|S|\n"
                             "1136||Unload\n";

class MenuProbe : public testing::Test {
protected:
    ChildProcess target{MENU_PROBE_TARGET_EXE, ""};
    HWND window = waitForWindow("MenuProbeTarget", nullptr, 30000);

    void click() { PostMessageA(window, WM_USER, 0, WM_LBUTTONDOWN); }
    // The commands the target received, each after a space.
    std::string commands() const {
        char title[512] = "";
        GetWindowTextA(window, title, sizeof title);
        return title;
    }
};

}  // namespace

TEST_F(MenuProbe, ReadsEveryItemOfTheOpenMenuAndItsSubmenus) {
    ASSERT_NE(window, nullptr);
    click();
    std::optional<std::vector<MenuItemView>> menu = readOpenMenu(target.processId());
    ASSERT_TRUE(menu);
    EXPECT_EQ(writeMenuListing(*menu), targetListing);

    ASSERT_EQ(menu->size(), 9u);
    EXPECT_TRUE((*menu)[0].bitmap && (*menu)[0].isDefault);
    EXPECT_EQ((*menu)[2].text, "Undo Programs");
    ASSERT_EQ((*menu)[2].submenu.size(), 5u);
    EXPECT_EQ((*menu)[2].submenu[1].text, "Notepad modify of C:\\...\\readme.txt");
    EXPECT_TRUE(findMenuItem(*menu, 1021)->greyed);
    EXPECT_FALSE(findMenuItem(*menu, 1021)->disabled);
    EXPECT_TRUE(menuShown(target.processId()));  // reading leaves it open
}

TEST_F(MenuProbe, FindsNoMenuWhileNoneIsOpen) {
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(menuShown(target.processId()));
    EXPECT_FALSE(readOpenMenu(target.processId(), 500));
    EXPECT_FALSE(chooseMenuItem(target.processId(), 1136, 500));
}

TEST_F(MenuProbe, ReadsTheTrackedMenuWhileItsSubmenusAreOpen) {
    ASSERT_NE(window, nullptr);
    click();
    ASSERT_TRUE(readOpenMenu(target.processId()));
    using enum MenuKey;
    ASSERT_TRUE(pressMenuKeys(target.processId(), {Home, Down, Right, Down, Down, Right}));
    ASSERT_TRUE(waitUntil([&] { return menuWindowsOf(target.processId()).size() == 3; }));

    std::optional<std::vector<MenuItemView>> menu = readOpenMenu(target.processId());
    ASSERT_TRUE(menu);
    EXPECT_EQ(writeMenuListing(*menu), targetListing);
}

TEST_F(MenuProbe, ClosingEndsTheMenuSubmenusAndAllAndChoosesNothing) {
    ASSERT_NE(window, nullptr);
    for (int round = 0; round < 2; ++round) {  // the second read finds the probe loaded
        click();
        ASSERT_TRUE(readOpenMenu(target.processId()));
        EXPECT_FALSE(chooseMenuItem(target.processId(), 999));
        using enum MenuKey;
        ASSERT_TRUE(pressMenuKeys(target.processId(), {Home, Down, Right}));
        EXPECT_TRUE(closeOpenMenu(target.processId()));
        EXPECT_FALSE(menuShown(target.processId()));
    }
    Sleep(300);
    EXPECT_EQ(commands(), "");
}

TEST_F(MenuProbe, AnItemChosenByKeysArrivesAsItsCommand) {
    ASSERT_NE(window, nullptr);
    std::string expected;
    for (uint32_t id : {1136u, 1030u, 1032u, 1040u, 0u, 1027u}) {
        click();
        ASSERT_TRUE(chooseMenuItem(target.processId(), id)) << id;
        expected += ' ';
        expected += std::to_string(id);
        EXPECT_TRUE(waitUntil([&] { return commands() == expected; })) << commands();
        EXPECT_TRUE(waitUntil([&] { return !menuShown(target.processId()); }));
    }
}
