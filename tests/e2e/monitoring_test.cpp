// Turning change monitoring off and on from the main window's command.

#include "tests/e2e/retrace_fixture.h"

#include <shellapi.h>

#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"

namespace {
uint32_t storedEnableDriver() {
    Settings settings;
    settings.EnableDriver = 99;
    loadSettings(settings);
    return settings.EnableDriver;
}
}  // namespace

using Monitoring = RetraceTest;

TEST_F(Monitoring, DisableThenEnableFlipsTheStoredSettingAndTheIcon) {
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));

    PostMessageA(mainWindow, WM_COMMAND, IDM_TOGGLE_MONITORING, 0);
    EXPECT_TRUE(waitUntil([] { return storedEnableDriver() == 0; }));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOff; }));

    PostMessageA(mainWindow, WM_COMMAND, IDM_TOGGLE_MONITORING, 0);
    EXPECT_TRUE(waitUntil([] { return storedEnableDriver() == 1; }));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));
}

TEST_F(Monitoring, StartingWithMonitoringOffShowsTheOffIcon) {
    Settings settings;
    loadSettings(settings);
    settings.EnableDriver = 0;
    saveSettings(settings);

    RetraceProcess retrace;
    ASSERT_NE(waitForMainWindow(), nullptr);
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOff; }));
    EXPECT_EQ(storedEnableDriver(), 0u);
}

TEST_F(Monitoring, ATrayClickShowsTheBusyIconUntilItsMenuClosesThenTheMonitoringState) {
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(readOpenMenu(retrace.processId()));
    EXPECT_EQ(trayPicture(), TrayPicture::Busy);  // until the menu closes
    EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));
    EXPECT_TRUE(retrace.running());
}

// A shell started anew knows none of the icons of its predecessor and tells
// every program so; Retrace's, its only way in, comes back in the state it
// was in.
TEST_F(Monitoring, AShellStartedAnewGetsTheIconBackShowingWhetherMonitoringIsOn) {
    Settings settings;
    loadSettings(settings);
    settings.EnableDriver = 0;
    saveSettings(settings);
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));

    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(trayIconPresent(mainWindow));
    SendMessageA(mainWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOff; }));
    EXPECT_TRUE(retrace.running());
}
