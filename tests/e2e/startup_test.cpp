// Starting, refusing a second instance and unloading, seen from outside.

#include "tests/e2e/retrace_fixture.h"

#include "res/resource.h"

using StartAndUnload = RetraceTest;

TEST_F(StartAndUnload, UnloadWithNoInstanceRunningExitsWithZeroAndShowsNothing) {
    RetraceProcess unload("UNLOAD");
    EXPECT_EQ(unload.waitForExit(), 0u);
    EXPECT_EQ(FindWindowA("Retrace", nullptr), nullptr);
    EXPECT_EQ(findMessageBox("Retrace"), nullptr);
}

TEST_F(StartAndUnload, LowerCaseUnloadIsANormalStart) {
    RetraceProcess retrace("unload");
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    EXPECT_TRUE(retrace.running());
}

TEST_F(StartAndUnload, ASecondStartSaysSoAndLeavesTheFirstRunning) {
    RetraceProcess first;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);

    RetraceProcess second;
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = findMessageBox("Retrace")) != nullptr; }));
    EXPECT_EQ(messageBoxText(box), "Retrace is already running.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(FindWindowA("Retrace", nullptr), mainWindow);
    EXPECT_TRUE(trayIconPresent(mainWindow));
}

TEST_F(StartAndUnload, UnloadEndsTheRunningInstanceAndTakesItsIconAway) {
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));

    RetraceProcess unload("UNLOAD");
    EXPECT_EQ(unload.waitForExit(), 0u);
    EXPECT_EQ(retrace.waitForExit(), 0u);
    EXPECT_FALSE(trayIconPresent(mainWindow));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::None; }));
}

TEST_F(StartAndUnload, TheUnloadCommandEndsTheProgram) {
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    PostMessageA(mainWindow, WM_COMMAND, IDM_UNLOAD, 0);
    EXPECT_EQ(retrace.waitForExit(), 0u);
    EXPECT_EQ(FindWindowA("Retrace", nullptr), nullptr);
}
