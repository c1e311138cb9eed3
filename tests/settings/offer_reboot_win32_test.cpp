// The restart prompt, answered as a person would.

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "settings/settings_store_win32.h"

namespace {
HWND waitForWindow(const char* className, const char* title) {
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND window = FindWindowA(className, title)) return window;
        Sleep(25);
    }
    return nullptr;
}

std::string staticTextOf(HWND box) {
    std::string found;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM lParam) -> BOOL {
            char className[32] = "", text[1200] = "";
            GetClassNameA(child, className, sizeof className);
            GetWindowTextA(child, text, sizeof text);
            if (lstrcmpiA(className, "Static") == 0 && text[0]) *reinterpret_cast<std::string*>(lParam) = text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
}  // namespace

TEST(OfferReboot, ShowsTheMessageWithTheQuestionAndNoLeavesWindowsRunning) {
    std::thread prompt([] { offerReboot("You will need to reboot for the changes to take effect."); });
    HWND box = waitForWindow("#32770", "Reboot Now?");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(staticTextOf(box), "You will need to reboot for the changes to take effect.\n\nReboot Now?");
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    prompt.join();  // returns: no restart was asked for
    EXPECT_FALSE(IsWindow(box));
}

TEST(OfferReboot, AMessageTooLongForThePromptIsCutToItsLength) {
    std::string longMessage(2000, 'm');
    std::thread prompt([&] { offerReboot(longMessage.c_str()); });
    HWND box = waitForWindow("#32770", "Reboot Now?");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(staticTextOf(box).size(), 1024u);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    prompt.join();
}
