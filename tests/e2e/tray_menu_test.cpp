// The menu a left click on the tray icon opens, read as a person sees it.

#include "tests/e2e/retrace_fixture.h"

#include "base/text.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/e2e/recorded_history.h"

namespace {

class TrayMenu : public RecordedHistoryTest {
protected:
    // Starts Retrace and waits for its icon: start-up's rebuild is then done.
    HWND startRetrace() {
        retrace.emplace();
        HWND window = waitForMainWindow();
        if (window) waitUntil([&] { return trayIconPresent(window); });
        return window;
    }
    std::string clickAndRead(HWND window) {
        PostMessageA(window, WM_USER, 0, WM_LBUTTONDOWN);
        auto menu = readOpenMenu(retrace->processId());
        return menu ? writeMenuListing(*menu) : "no menu";
    }
    std::optional<RetraceProcess> retrace;
};

}  // namespace

TEST_F(TrayMenu, AnEmptyHistoryOffersOnlyTheFixedCommandsUnderTheBanner) {
    HWND window = startRetrace();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(clickAndRead(window),
              "0|BD|\n"
              "1025||Help...\n"
              "1026||Options...\n"
              "0|S|\n"
              "1027||Disable\n"
              "1136||Unload\n");
    EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOn; }));
}

TEST_F(TrayMenu, ListsTheNewestProgramsAndFileActionsFirst) {
    play("clock 2026-12-07 09:00:00\n"
         "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
         "create \"" + docs + "\\letter.doc\" \"Dear Sam,\"\n"
         "write \"" + docs + "\\letter.doc\" \"Dear Sam,\" \"See you Monday.\"\n"
         "program SHEET \"C:\\Apps\\sheet.exe\" 400\n"
         "set-value \"HKCU\\Software\\Retrace E2E\\Zoom\" dword 100\n"
         "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
         "copy \"" + docs + "\\letter.doc\" \"" + docs + "\\Copies\\letter.doc\"\n");
    HWND window = startRetrace();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(clickAndRead(window),
              "0|BD|\n"
              "0|S|\n"
              "0|P|Undo Programs\n"
              "  1030||Sheet\n"
              "  1031||Writer\n"
              "  0|S|\n"
              "  1040||More...\n"
              "0|P|Undo Files\n"
              "  1041||Copy of c:\\\\...\\\\letter.doc\n"
              "  1042||Writer modify of c:\\\\...\\\\letter.doc\n"
              "  1043||Writer create of c:\\\\...\\\\letter.doc\n"
              "  0|S|\n"
              "  1051||More...\n"
              "1052|GX|Undo Control Panel\n"
              "0|S|\n"
              "1021|GX|Redo\n"
              "0|S|\n"
              "1022||Find...\n"
              "1023||Start Over...\n"
              "1024||Wizard...\n"
              "0|S|\n"
              "1025||Help...\n"
              "1026||Options...\n"
              "0|S|\n"
              "1027||Disable\n"
              "1136||Unload\n");
    EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
}

TEST_F(TrayMenu, WithRecordsButNoProgramsUndoProgramsIsGreyedAndUndoFilesStillListed) {
    play("clock 2026-12-07 09:00:00\n"
         "program WRITER \"C:\\Apps\\writer.exe\" 0\n"  // process 0 makes no program entry
         "create \"" + docs + "\\a.doc\" \"a\"\n");
    HWND window = startRetrace();
    ASSERT_NE(window, nullptr);
    auto listing = clickAndRead(window);
    EXPECT_NE(listing.find("1030|GX|Undo Programs\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("  1041||Writer create of c:\\\\...\\\\a.doc\n"), std::string::npos) << listing;
    EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
}

TEST_F(TrayMenu, ChoosingDisableFromTheMenuTurnsMonitoringOffAndTheMenuThenOffersEnable) {
    HWND window = startRetrace();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_USER, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(chooseMenuItem(retrace->processId(), 1027));
    EXPECT_TRUE(waitUntil([] {
        Settings settings;
        loadSettings(settings);
        return settings.EnableDriver == 0;
    }));
    EXPECT_TRUE(waitUntil([] { return trayPicture() == TrayPicture::MonitoringOff; }));
    EXPECT_NE(clickAndRead(window).find("1027||Enable\n"), std::string::npos);
    EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
}

TEST_F(TrayMenu, RightClicksAndDoubleClicksOpenNothing) {
    HWND window = startRetrace();
    ASSERT_NE(window, nullptr);
    for (LPARAM mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_MOUSEMOVE})
        PostMessageA(window, WM_USER, 0, mouse);
    Sleep(700);
    EXPECT_FALSE(menuShown(retrace->processId()));
}
