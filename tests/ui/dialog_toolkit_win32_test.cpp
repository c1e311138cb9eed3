// The common dialog behaviour against real windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "res/resource.h"
#include "tests/support/window_search_win32.h"
#include "tests/ui/test_window_win32.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"

namespace {
RECT screenRect() {
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    return screen;
}

POINT topLeft(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

void expectAt(HWND window, int x, int y) {
    POINT corner = topLeft(window);
    EXPECT_EQ(corner.x, x);
    EXPECT_EQ(corner.y, y);
}
}  // namespace

TEST(CentreWindow, CentresOnAnotherWindowKeepingInsideTheScreen) {
    RECT screen = screenRect();
    struct { int x, y, width, height; int expectedX, expectedY; } cases[] = {
        {100, 100, 401, 301, 200, 200},  // centres (300, 250), halves truncated
        {-300, -300, 100, 100, 0, 0},
        {screen.right - 50, screen.bottom - 50, 100, 100, screen.right - 200, screen.bottom - 100},
        {-300, screen.bottom - 50, 100, 100, 0, screen.bottom - 100},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "other at " << c.x << ", " << c.y);
        TestWindow other(c.x, c.y, c.width, c.height), dialog(0, 0, 200, 100);
        centreWindow(dialog, other);
        expectAt(dialog, c.expectedX, c.expectedY);
    }
}

TEST(CentreWindow, WithoutAnotherCentresOnTheScreen) {
    RECT screen = screenRect();
    TestWindow dialog(0, 0, 300, 201);
    centreWindow(dialog);
    expectAt(dialog, screen.right / 2 - 150, screen.bottom / 2 - 100);
}

TEST(CentreWindow, AWindowLargerThanTheScreenShowsItsCaption) {
    RECT screen = screenRect();
    TestWindow dialog(50, 50, screen.right + 200, screen.bottom + 100), other(10, 10, 100, 100);
    centreWindow(dialog);
    expectAt(dialog, 0, 0);
    centreWindow(dialog, other);
    expectAt(dialog, 0, 0);
}

TEST(CentreWindow, NeitherResizesNorRaisesTheWindow) {
    TestWindow dialog(0, 0, 200, 100), above(400, 400, 100, 100);
    SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    centreWindow(dialog);
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 100);
    HWND higher = dialog;
    while (higher && higher != HWND(above)) higher = GetWindow(higher, GW_HWNDPREV);
    EXPECT_EQ(higher, HWND(above));
}

TEST(CommonDialogSetUp, RecordsTheDialogCentresItAndGivesItTheProgramsIcon) {
    appInstance = GetModuleHandleA(nullptr);
    RECT screen = screenRect();
    TestWindow dialog(0, 0, 300, 201);
    commonDialogSetUp(dialog);
    EXPECT_EQ(lastDialog, HWND(dialog));
    expectAt(dialog, screen.right / 2 - 150, screen.bottom / 2 - 100);
    HICON programIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_MONITORING_ON));
    ASSERT_NE(programIcon, nullptr);
    EXPECT_EQ(HICON(GetClassLongPtrA(dialog, GCLP_HICON)), programIcon);
}

TEST(MoveControlOnResize, MovesAndGrowsByTheChangeOfTheClientSize) {
    struct { bool across, down, grow; RECT expected; } cases[] = {
        {false, false, false, {20, 30, 120, 70}},
        {true, false, false, {70, 30, 170, 70}},
        {false, true, false, {20, 60, 120, 100}},
        {true, true, false, {70, 60, 170, 100}},
        {false, false, true, {20, 30, 170, 100}},
        {true, true, true, {70, 60, 220, 130}},
    };
    for (auto& c : cases) {
        TestWindow dialog(50, 50, 500, 400);
        HWND control = dialog.addChild("BUTTON", 7, 0, 20, 30, 100, 40);
        RECT previous{0, 0, 400, 300};
        moveControlOnResize(dialog, 7, previous, 450, 330, c.across, c.down, c.grow);
        RECT moved = rectInParent(control);
        EXPECT_EQ(moved.left, c.expected.left) << c.across << c.down << c.grow;
        EXPECT_EQ(moved.top, c.expected.top) << c.across << c.down << c.grow;
        EXPECT_EQ(moved.right, c.expected.right) << c.across << c.down << c.grow;
        EXPECT_EQ(moved.bottom, c.expected.bottom) << c.across << c.down << c.grow;
    }
}

TEST(MoveControlOnResize, ShrinkingMovesBackAndAMissingControlIsLeftAlone) {
    TestWindow dialog(50, 50, 500, 400);
    HWND control = dialog.addChild("BUTTON", 7, 0, 200, 150, 100, 40);
    moveControlOnResize(dialog, 7, RECT{0, 0, 400, 300}, 300, 250, true, true, false);
    RECT moved = rectInParent(control);
    EXPECT_EQ(moved.left, 100);
    EXPECT_EQ(moved.top, 100);
    moveControlOnResize(dialog, 8, RECT{0, 0, 400, 300}, 300, 250, true, true, true);
}

namespace {
// A memory device context drawing on its own bitmap.
struct Canvas {
    explicit Canvas(HBITMAP picture) : dc(CreateCompatibleDC(nullptr)), bitmap(picture) {
        previous = SelectObject(dc, bitmap);
    }
    Canvas(int width, int height) : Canvas(screenBitmap(width, height)) {}
    static HBITMAP screenBitmap(int width, int height) {
        HDC screen = GetDC(nullptr);
        HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        return picture;
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};
}  // namespace

TEST(PaintBitmap, StretchesTheBitmapOverTheWholeWindow) {
    appInstance = GetModuleHandleA(nullptr);
    HBITMAP banner = LoadBitmapA(appInstance, MAKEINTRESOURCEA(IDB_MENU_BANNER));
    ASSERT_NE(banner, nullptr);
    BITMAP size;
    GetObjectA(banner, sizeof size, &size);
    Canvas original(banner);

    TestWindow window(0, 0, 2 * size.bmWidth, 2 * size.bmHeight);
    Canvas painted(2 * size.bmWidth, 2 * size.bmHeight);
    paintBitmap(window, painted.dc, IDB_MENU_BANNER);
    int differing = 0;
    for (int y = 0; y < size.bmHeight; ++y)
        for (int x = 0; x < size.bmWidth; ++x)
            differing += GetPixel(painted.dc, 2 * x + 1, 2 * y + 1) != GetPixel(original.dc, x, y);
    EXPECT_EQ(differing, 0);
}

namespace {
// The folder browser that the test thread opened, owned by `owner`.
HWND folderBrowserOf(HWND owner) {
    HWND found = nullptr;
    waitUntil([&] {
        for (HWND window = FindWindowA("#32770", nullptr); window;
             window = FindWindowExA(nullptr, window, "#32770", nullptr))
            if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) return (found = window) != nullptr;
        return false;
    });
    return found;
}
}  // namespace

TEST(BrowseForFolder, CancellingGivesAnEmptyText) {
    TestWindow owner(0, 0, 200, 100);
    std::thread user([owner = HWND(owner)] { PostMessageA(folderBrowserOf(owner), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(browseForFolder(owner, "Choose a folder"), "");
    user.join();
}

namespace {
std::string helpFileBesideTheProgram() {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string file = program;
    return file.substr(0, file.rfind('\\')) + "\\Retrace.hlp";
}
}  // namespace

TEST(ShowHelp, OpensTheHelpFileBesideTheProgram) {
    std::string helpFile = helpFileBesideTheProgram();
    HANDLE file = CreateFileA(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    // The file is no real help file, so the help program says which it read.
    std::string shown;
    std::thread user([&] {
        HWND box = waitForWindow("#32770", "ERROR", 30000);
        shown = messageBoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    showHelp(nullptr, helpFileListPage);
    user.join();
    DeleteFileA(helpFile.c_str());
    EXPECT_NE(shown.find(helpFile), std::string::npos) << shown;
}

TEST(ShowHelp, WithoutAHelpFileAsksNothingAndSaysWhereTheMissingManualBelongs) {
    ASSERT_EQ(GetFileAttributesA(helpFileBesideTheProgram().c_str()), INVALID_FILE_ATTRIBUTES);
    std::atomic<bool> returned = false, asked = false;
    std::string said;
    std::thread user([&] {
        HWND box = nullptr, told = nullptr;
        waitUntil([&] {
            return returned || (box = FindWindowA("#32770", "ERROR")) != nullptr ||
                   (told = FindWindowA("#32770", "Retrace Help")) != nullptr;
        }, 30000);
        if (box) {
            asked = true;
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        }
        if (told) {
            said = messageBoxText(told);
            PostMessageA(told, WM_COMMAND, IDOK, 0);
        }
    });
    showHelp(nullptr, helpContents);
    returned = true;
    user.join();
    EXPECT_FALSE(asked);
    // No manual beside the test program: Help names the folder it belongs in.
    const std::string folder = helpFileBesideTheProgram();
    EXPECT_NE(said.find(folder.substr(0, folder.rfind('\\')) + "\\manual\n"), std::string::npos) << said;
    EXPECT_NE(said.find("missing"), std::string::npos) << said;
}

TEST(ShortenedText, ALongPathKeepsItsStartAndItsFileNameAndAShortOneStaysWhole) {
    TestWindow window(0, 0, 400, 100);
    window.addChild("STATIC", 7, SS_CENTER, 5, 5, 200, 16);
    const std::string longPath = "c:\\retrace e2e\\docs\\" + std::string(120, 'x') + "\\quarterly report.doc";
    setShortenedText(window, 7, longPath);
    const std::string shown = dialogItemText(window, 7);
    EXPECT_TRUE(shown.starts_with("c:\\")) << shown;
    EXPECT_TRUE(shown.ends_with("quarterly report.doc")) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_LT(shown.size(), longPath.size());

    setShortenedText(window, 7, "c:\\docs\\a.doc");
    EXPECT_EQ(dialogItemText(window, 7), "c:\\docs\\a.doc");
}
