// The restart prompt, answered as a person would.

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "settings/settings_store_win32.h"
#include "tests/support/window_search_win32.h"


TEST(OfferReboot, ShowsTheMessageWithTheQuestionAndNoLeavesWindowsRunning) {
    std::thread prompt([] { offerReboot("You will need to reboot for the changes to take effect."); });
    HWND box = waitForWindow("#32770", "Reboot Now?", 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "You will need to reboot for the changes to take effect.\n\nReboot Now?");
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    prompt.join();  // returns: no restart was asked for
    EXPECT_FALSE(IsWindow(box));
}

TEST(OfferReboot, AMessageTooLongForThePromptIsCutToItsLength) {
    std::string longMessage(2000, 'm');
    std::thread prompt([&] { offerReboot(longMessage.c_str()); });
    HWND box = waitForWindow("#32770", "Reboot Now?", 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box).size(), 1024u);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    prompt.join();
}
