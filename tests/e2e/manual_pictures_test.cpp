// The manual's pictures, made by opening each window of Retrace as a person
// would, and each window's Help, which must open that window's page.
//
// A picture that differs from the one the manual shows is written over it,
// and the test fails once: look at the new picture and commit it. A window
// added to the table below gets its picture the same way.

#include "tests/e2e/recorded_history.h"

#include <algorithm>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe/menu_windows_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/e2e/window_picture_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

constexpr unsigned trayMenu = 0;  // the window is the menu a click on the icon opens
constexpr int noPage = -1;

// How a person reaches a window of the manual from the running program.
struct WindowOfTheManual {
    const char* topic;  // the page manual\<topic>.html, its picture manual\images\<topic>.png
    unsigned command;   // the main window's command that opens it, or trayMenu
    const char* caption = "";
    int sheetPage = noPage;       // the page of a property sheet to show
    int clickFirstRowOf = 0;      // a list whose first row is clicked first
    int nextButton = 0;           // a button that opens the window pictured ...
    const char* nextCaption = "";  // ... with this caption
    bool hasHelp = true;           // Start Over offers no Help button
};

void PrintTo(const WindowOfTheManual& entry, std::ostream* out) { *out << entry.topic; }

const WindowOfTheManual windowsOfTheManual[] = {
    {"index", trayMenu},
    {"options-settings", IDM_OPTIONS, "Retrace Options", 0},
    {"options-ignore-groups", IDM_OPTIONS, "Retrace Options", 1},
    {"options-ignore-files", IDM_OPTIONS, "Retrace Options", 2},
    {"options-file-list", IDM_OPTIONS, "Retrace Options", 3},
    {"options-information", IDM_OPTIONS, "Retrace Options", 4},
    {"options-about", IDM_OPTIONS, "Retrace Options", 5},
    {"find-create", IDM_FIND, "Undo find", 0},
    {"find-modify", IDM_FIND, "Undo find", 1},
    {"find-rename", IDM_FIND, "Undo find", 2},
    {"find-copy", IDM_FIND, "Undo find", 3},
    {"find-move", IDM_FIND, "Undo find", 4},
    {"find-download", IDM_FIND, "Undo find", 5},
    {"history-files", IDM_FILE_MORE, "Files"},
    {"history-programs", IDM_PROGRAM_MORE, "Programs"},
    {"history-control-panel", IDM_APPLET_MORE, "Control Panel Applets"},
    {"undo-program", IDM_PROGRAM_FIRST, "Undo Program - Writer", noPage, IDC_PROGRAM_SESSIONS},
    {"confirm-session-undo", IDM_PROGRAM_FIRST, "Undo Program - Writer", noPage, IDC_PROGRAM_SESSIONS,
     IDC_UNDO_SESSION_AND_FILES, "Confirm undo of session"},
    {"confirm-file-undo", IDM_FILE_FIRST, "Confirm Undo"},
    {"undo-preview", IDM_FILE_FIRST, "Confirm Undo", noPage, 0, IDC_PREVIEW, "Undo Preview"},
    {"confirm-file-group-undo", IDM_FILE_FIRST + 1, "Confirm Undo of Move by Explorer"},
    {"confirm-control-panel-undo", IDM_APPLET_FIRST + 1, "Confirm Undo"},
    {"undo-control-panel-session", IDM_APPLET_FIRST, "Undo Control Panel Session - C:\\windows\\system32\\main.cpl"},
    {"wizard", IDM_WIZARD, "Welcome"},  // a wizard's title is its page's
    {"start-over", IDM_START_OVER, "Start Over", noPage, 0, 0, "", false},
};

const std::string manual = windowsPath(RETRACE_SOURCE_DIR) + "\\docs\\manual";
const std::string pagesOpened = "C:\\Retrace E2E\\pages opened.txt";

// A morning of one program's letters and settings, filed by Explorer, a
// download, and three Control Panel sessions of two applets.
const char* const history = R"(clock 2026-12-07 09:00:00
program WRITER "C:\Apps\writer.exe" 301
set-value "HKCU\Software\Retrace E2E\Writer\Zoom" dword 100
create "C:\Retrace E2E\Docs\writer.ini" [View] Zoom=100
create "C:\Retrace E2E\Docs\letter.doc" "Dear Sam,"
create "C:\Retrace E2E\Docs\invoice.doc" "Invoice"
create "C:\Retrace E2E\Docs\notes.doc" "Notes"
write "C:\Retrace E2E\Docs\letter.doc" "Dear Sam," "See you Monday."
program CPL "C:\Windows\system32\desk.cpl" 500
set-value "HKCU\Software\Retrace E2E\Desktop\Wallpaper" sz sky.bmp
program CPL "C:\Windows\system32\main.cpl" 501
set-value "HKCU\Software\Retrace E2E\Mouse\Speed" dword 10
program CPL "C:\Windows\system32\main.cpl" 502
set-value "HKCU\Software\Retrace E2E\Mouse\Speed" dword 12
program WGET "C:\Apps\wget.exe" 510
create "C:\Retrace E2E\Docs\setup.zip" zip
program explorer "C:\Windows\explorer.exe" 88
rename "C:\Retrace E2E\Docs\notes.doc" "C:\Retrace E2E\Docs\ideas.doc"
copy "C:\Retrace E2E\Docs\letter.doc" "C:\Retrace E2E\Docs\Copies\letter.doc"
move "C:\Retrace E2E\Docs\invoice.doc" "C:\Retrace E2E\Docs\Archive\invoice.doc"
move "C:\Retrace E2E\Docs\ideas.doc" "C:\Retrace E2E\Docs\Archive\ideas.doc"
program WRITER "C:\Apps\writer.exe" 302
set-value "HKCU\Software\Retrace E2E\Writer\Zoom" dword 120
ini "C:\Retrace E2E\Docs\writer.ini" View Zoom 120
write "C:\Retrace E2E\Docs\letter.doc" "Dear Sam," "See you Tuesday."
)";

// The probe stands in for the browser that opens web pages, for the length
// of a test; what opened them before comes back after.
class PagesWatched {
public:
    PagesWatched() {
        char probe[MAX_PATH * 2];
        snprintf(probe, sizeof probe, "\"%s\" \"%s\" \"%%1\"", windowsPath(HELP_VIEWER_PROBE_EXE).c_str(),
                 pagesOpened.c_str());
        hadOpener_ = readDefault(".html", opener_);
        setDefault(".html", "RetraceE2E.page");
        setDefault("RetraceE2E.page\\shell\\open\\command", probe);
    }
    ~PagesWatched() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "RetraceE2E.page");
        if (hadOpener_)
            setDefault(".html", opener_);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
    }

private:
    static bool readDefault(const char* key, std::string& value) {
        char text[MAX_PATH] = "";
        LONG size = sizeof text;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, key, text, &size) != ERROR_SUCCESS) return false;
        value = text;
        return true;
    }
    static void setDefault(const char* key, const std::string& value) {
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), DWORD(value.size()));
    }
    bool hadOpener_ = false;
    std::string opener_;
};

class WindowOfTheManualTest : public RecordedHistoryTest,
                              public testing::WithParamInterface<WindowOfTheManual> {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        // Off every window, where a button under the pointer would show lit.
        SetCursorPos(0, 0);
        play(history);
        pagesWatched.emplace();
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    }
    void TearDown() override {
        if (retrace) closeOpenMenu(retrace->processId());
        retrace.reset();
        pagesWatched.reset();
        RecordedHistoryTest::TearDown();
    }

    // The window pictured, shown as the entry says; null when it does not show.
    HWND open(const WindowOfTheManual& entry) {
        if (entry.command == trayMenu) {
            PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
            HWND menu = nullptr;
            waitUntil([&] {
                auto menus = menuWindowsOf(retrace->processId());
                return !menus.empty() && (menu = menus.front()) != nullptr;
            });
            return menu;
        }
        HWND window = openByCommand(mainWindow, entry.command, entry.caption);
        if (!window) return nullptr;
        if (entry.sheetPage != noPage && !showSheetPage(window, entry.sheetPage)) return nullptr;
        if (entry.clickFirstRowOf) {
            DialogList list(window, entry.clickFirstRowOf);
            list.clickRow(0);
            if (!waitUntil([&] { return list.selectedRows() == std::vector<int>{0}; })) return nullptr;
        }
        if (entry.nextButton) {
            pressButton(window, entry.nextButton);
            window = waitForDialog(entry.nextCaption);
        }
        return window;
    }

    void pressHelp(const WindowOfTheManual& entry, HWND window) {
        if (entry.command == trayMenu)
            chooseMenuItem(retrace->processId(), IDM_HELP);
        else
            pressButton(window, IDHELP);
    }

    std::optional<PagesWatched> pagesWatched;
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

}  // namespace

TEST_P(WindowOfTheManualTest, ShowsThePictureTheManualShowsAndItsHelpOpensItsPage) {
    const WindowOfTheManual& entry = GetParam();
    HWND window = open(entry);
    ASSERT_NE(window, nullptr) << entry.topic;

    const std::string pictureFile = manual + "\\images\\" + entry.topic + ".png";
    const Picture now = pictureOfWindow(window);
    const auto shown = loadPng(pictureFile);
    // A blinking caret is the most that may differ.
    const size_t tolerated = 40;
    if (!shown || differingPixels(now, *shown) > tolerated) {
        EXPECT_TRUE(savePng(now, pictureFile));
        ADD_FAILURE() << pictureFile << " was not the window as it shows now"
                      << (shown ? " (" + std::to_string(differingPixels(now, *shown)) + " pixels differ)" : "")
                      << "; the new picture is written: look at it and commit it";
    }

    if (!entry.hasHelp) return;
    pressHelp(entry, window);
    const std::string page = std::string(entry.topic) + ".html";
    std::string opened;
    EXPECT_TRUE(waitUntil([&] { return !(opened = bytesOf(pagesOpened).value_or("")).empty(); }, 30000));
    opened = opened.substr(0, opened.find_first_of("\r\n"));
    EXPECT_TRUE(opened.ends_with("\\manual\\" + page)) << opened << " is not " << page;
    EXPECT_TRUE(fileExists(manual + "\\" + page));
}

INSTANTIATE_TEST_SUITE_P(Manual, WindowOfTheManualTest, testing::ValuesIn(windowsOfTheManual),
                         [](const testing::TestParamInfo<WindowOfTheManual>& info) {
                             std::string name = info.param.topic;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

namespace {
// No program opens web pages for the length of a test.
class NoPageOpener {
public:
    NoPageOpener() {
        char text[MAX_PATH] = "";
        LONG size = sizeof text;
        hadOpener_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".html", text, &size) == ERROR_SUCCESS;
        opener_ = text;
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "RetraceE2E.nothing", 0);
    }
    ~NoPageOpener() {
        if (hadOpener_)
            RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, opener_.c_str(), DWORD(opener_.size()));
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
    }

private:
    bool hadOpener_ = false;
    std::string opener_;
};

class HelpUnopened : public RecordedHistoryTest {};
}  // namespace

TEST_F(HelpUnopened, WithNoProgramForWebPagesHelpSaysWhereTheManualIs) {
    NoPageOpener noOpener;
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    HWND sheet = openByCommand(mainWindow, IDM_OPTIONS, "Retrace Options");
    ASSERT_NE(sheet, nullptr);
    pressButton(sheet, IDHELP);
    HWND box = waitForWindow("#32770", "Retrace Help", 30000);
    ASSERT_NE(box, nullptr) << "Help is never silent";
    const std::string said = messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const std::string program = windowsPath(RETRACE_EXE);
    const std::string folder = program.substr(0, program.rfind('\\')) + "\\manual";
    EXPECT_NE(said.find("No program is set up to open web pages (.html)"), std::string::npos) << said;
    EXPECT_NE(toLowerAscii(said).find(toLowerAscii(folder) + "\n"), std::string::npos) << said;
    EXPECT_NE(said.find("options-settings.html"), std::string::npos) << said;
    EXPECT_TRUE(waitForClose(box));
    pressButton(sheet, IDCANCEL);
    EXPECT_TRUE(waitForClose(sheet));
}
