// The busy panel on its own thread, shown and hidden from this one.

#include <gtest/gtest.h>
#include <windows.h>

#include "res/resource.h"
#include "tests/support/window_search_win32.h"
#include "ui/application_win32.h"
#include "ui/busy_indicator_win32.h"

namespace {

// How often the light changed in the time given.
int lightChanges(HWND panel, DWORD milliseconds) {
    int changes = 0;
    UINT last = IsDlgButtonChecked(panel, IDC_BUSY_LIGHT);
    for (DWORD waited = 0; waited < milliseconds; waited += 20) {
        Sleep(20);
        UINT now = IsDlgButtonChecked(panel, IDC_BUSY_LIGHT);
        changes += now != last;
        last = now;
    }
    return changes;
}

}  // namespace

TEST(BusyIndicator, ShowsItsTextBlinksWhileShownAndStandsStillWhileHidden) {
    appInstance = GetModuleHandleA(nullptr);
    hideBusyIndicator();  // before the panel exists: nothing happens
    startBusyIndicator();
    HWND panel = busyPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(IsWindowVisible(panel));

    showBusyIndicator("Undoing letter.doc...");
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(busyPanelText(panel), "Undoing letter.doc...");
    EXPECT_GE(lightChanges(panel, 600), 3);

    showBusyIndicator("Redoing...");  // while shown: the text is replaced
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(busyPanelText(panel), "Redoing...");

    hideBusyIndicator();
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_EQ(lightChanges(panel, 400), 0);
    hideBusyIndicator();  // hidden already: nothing changes
    EXPECT_FALSE(IsWindowVisible(panel));

    // Shown again, it blinks again. Whether the first tick has come by the
    // time the light is read depends on the load, so only the blinking is
    // asked for.
    showBusyIndicator("Undoing...");
    EXPECT_GE(lightChanges(panel, 600), 3);
}
