// The Retrace Wizard, run by the main window's command and led page by page
// with its own buttons; what it undoes is checked on disk, in the registry
// and in the saved action list, before and after it closes.

#include "tests/e2e/recorded_history.h"

#include <commctrl.h>

#include <algorithm>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe/menu_listing.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const char writerKey[] = "Software\\Retrace E2E\\Writer";
const char pageType[] = "Retrace E2E Page";

// Pages by their place in the wizard.
enum Page { welcome = 0, task = 1, undoKind = 2, findHow = 3, byFileName = 4, confirmFiles = 7,
            settingsPrograms = 8, programSessions = 9, confirmSettings = 10, startOver = 14, hours = 15,
            confirmStartOver = 18, findFile = 19, foundFiles = 20, done = 21 };

// Five hours of a morning: three runs of a word processor, each setting its
// zoom in the registry and its settings file (100 before) and the first two
// saving a document; a download and a Control Panel session; then Explorer
// renames the document and copies the download.
class Wizard : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.szFileExts, "DOC|PAGE");
        saveSettings(settings);
        // Wine knows no document types; one of the test's own opens in Notepad.
        RegSetValueA(HKEY_CLASSES_ROOT, ".page", REG_SZ, pageType, 0);
        RegSetValueA(HKEY_CLASSES_ROOT, (std::string(pageType) + "\\shell\\open\\command").c_str(), REG_SZ,
                     "notepad.exe \"%1\"", 0);
        const DWORD zoom = 100;
        RegSetKeyValueA(HKEY_CURRENT_USER, writerKey, "Zoom", REG_DWORD, &zoom, sizeof zoom);
        WritePrivateProfileStringA("View", "Zoom", "100", ini.c_str());

        std::string script;
        const char* hours[] = {"09:10:00", "10:20:00", "11:30:00"};
        for (int run = 1; run <= 3; ++run) {
            std::string value = std::to_string(100 + run);
            script += std::string("clock 2026-12-07 ") + hours[run - 1] + "\n"
                      "program WRITER \"C:\\Apps\\writer.exe\" " + std::to_string(300 + run) + "\n"
                      "set-value \"HKCU\\" + writerKey + "\\Zoom\" dword " + value + "\n"
                      "ini \"" + ini + "\" View Zoom " + value + "\n";
            if (run == 1) script += "create \"" + docs + "\\one.doc\" one\n";
            if (run == 2) script += "write \"" + docs + "\\one.doc\" \"one, revised\"\n";
        }
        play(script +
             "clock 2026-12-07 12:40:00\n"
             "program WGET \"C:\\Apps\\wget.exe\" 500\n"
             "create \"" + docs + "\\news.page\" downloaded\n"
             "program CPL \"C:\\Windows\\system32\\desk.cpl\" 600\n"
             "set-value \"HKCU\\Software\\Retrace E2E\\Desktop\\Wallpaper\" sz sky.bmp\n"
             "clock 2026-12-07 13:50:00\n"
             "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
             "rename \"" + docs + "\\one.doc\" \"" + docs + "\\first.doc\"\n"
             "copy \"" + docs + "\\news.page\" \"" + docs + "\\Copies\\news.page\"\n");
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntilIdle(mainWindow));
        // A wizard's frame takes the title of the page it shows.
        sheet = openByCommand(mainWindow, IDM_WIZARD, "Welcome");
        ASSERT_NE(sheet, nullptr);
        ASSERT_NE(waitForSheetPage(sheet, welcome), nullptr);
    }

    void TearDown() override {
        RecordedHistoryTest::TearDown();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".page");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, pageType);
    }

    // Presses Next or Back and returns the page that shows then.
    HWND press(int button, int expectedPage) {
        pressSheetButton(sheet, button);
        HWND page = waitForSheetPage(sheet, expectedPage);
        EXPECT_NE(page, nullptr) << "expected page " << expectedPage << ", shown " << currentSheetPage(sheet);
        return page;
    }
    HWND next(int expectedPage) { return press(PSBTN_NEXT, expectedPage); }
    HWND back(int expectedPage) { return press(PSBTN_BACK, expectedPage); }
    // From Welcome through the choices given: each a radio button and the
    // page its Next leads to.
    HWND follow(std::initializer_list<std::pair<int, int>> choices) {
        HWND page = next(task);
        for (auto [radioId, target] : choices) {
            pressButton(page, radioId);
            EXPECT_TRUE(waitUntil([&] { return buttonChecked(page, radioId); }));
            page = next(target);
        }
        return page;
    }
    // "Done", and the main window's save that follows the wizard.
    void finish() {
        pressSheetButton(sheet, PSBTN_FINISH);
        EXPECT_TRUE(waitForClose(sheet));
        EXPECT_TRUE(waitUntilIdle(mainWindow));
    }

    // The records the saved action list marks undone, as "program kind".
    std::vector<std::string> undoneInStore() const {
        std::vector<std::string> undone;
        for (const ActionRecord& record : storedHistory())
            if (record.undone()) undone.push_back(std::string(record.programName) + " " + std::to_string(record.kind));
        return undone;
    }
    DWORD zoomInRegistry() const {
        DWORD zoom = 0, size = sizeof zoom;
        RegGetValueA(HKEY_CURRENT_USER, writerKey, "Zoom", RRF_RT_REG_DWORD, nullptr, &zoom, &size);
        return zoom;
    }
    UINT zoomInFile() const { return GetPrivateProfileIntA("View", "Zoom", 0, ini.c_str()); }
    std::string doc(const char* name) const { return toLowerAscii(docs) + "\\" + name; }

    const std::string ini = docs + "\\writer.ini";
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
    HWND sheet = nullptr;
};

}  // namespace

TEST_F(Wizard, OpensOnWelcomeWithBackDisabledAndItsFirstChoicesLeadToUndoAndToFind) {
    EXPECT_FALSE(controlEnabled(sheet, IDC_WIZARD_BACK));
    HWND page = next(task);
    EXPECT_TRUE(controlEnabled(sheet, IDC_WIZARD_BACK));
    EXPECT_TRUE(buttonChecked(page, IDC_WIZARD_UNDO));
    next(undoKind);
    back(task);
    pressButton(page, IDC_WIZARD_FIND);
    ASSERT_TRUE(waitUntil([&] { return buttonChecked(page, IDC_WIZARD_FIND); }));
    next(findFile);
    pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_TRUE(waitForClose(sheet));
    EXPECT_TRUE(undoneInStore().empty());
}

TEST_F(Wizard, ByFileNameListsEveryActionNewestFirstAndNextWithoutARowUndoesNothing) {
    HWND page = follow({{IDC_WIZARD_UNDO, undoKind}, {IDC_WIZARD_FILE_ACTION, findHow},
                        {IDC_WIZARD_BY_FILE_NAME, byFileName}});
    DialogList files(page, IDC_WIZARD_LIST);
    EXPECT_EQ(files.headers(), (std::vector<std::string>{"Name", "Date", "Time"}));
    EXPECT_EQ(files.column(0), (std::vector<std::string>{doc("copies\\news.page"), doc("one.doc"), doc("news.page"),
                                                         doc("one.doc"), doc("one.doc")}));
    EXPECT_EQ(files.cell(4, 2), "09:10:04 AM");

    page = next(confirmFiles);
    EXPECT_EQ(DialogList(page, IDC_WIZARD_LIST).rowCount(), 0);
    page = next(done);
    EXPECT_EQ(controlText(sheet, 12325), "Done");  // the Finish button
    finish();
    EXPECT_TRUE(undoneInStore().empty());
    EXPECT_TRUE(fileExists(doc("first.doc")));
}

TEST_F(Wizard, DetailsClosesTheWizardBeforeTheFileHistoryOpens) {
    HWND page = follow({{IDC_WIZARD_UNDO, undoKind}, {IDC_WIZARD_FILE_ACTION, findHow},
                        {IDC_WIZARD_BY_FILE_NAME, byFileName}});
    pressButton(page, IDOK);  // "Details"
    EXPECT_TRUE(waitForClose(sheet));
    HWND history = waitForDialog("Files");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(DialogList(history, IDC_HISTORY_LIST).rowCount(), 5);
    pressButton(history, IDCANCEL);
    EXPECT_TRUE(waitForClose(history));
}

TEST_F(Wizard, ADoubleClickOnTheConfirmationRestoresTheFileBesideItAndSavesAtOnceAndNothingUndoesItAgain) {
    HWND page = follow({{IDC_WIZARD_UNDO, undoKind}, {IDC_WIZARD_FILE_ACTION, findHow},
                        {IDC_WIZARD_BY_FILE_NAME, byFileName}});
    DialogList(page, IDC_WIZARD_LIST).clickRow(3);  // the second save of one.doc
    page = next(confirmFiles);
    DialogList confirmation(page, IDC_WIZARD_LIST);
    ASSERT_EQ(confirmation.column(0), (std::vector<std::string>{doc("one.doc")}));
    confirmation.doubleClickRow(0);

    // one.doc is first.doc now, so the content before the save comes back
    // under the free restore name, and the folder shows.
    ASSERT_TRUE(waitUntil([&] { return fileExists(docs + "\\one.undo.doc"); }));
    EXPECT_EQ(contentOf(docs + "\\one.undo.doc"), "one\r\n");
    HWND folder = waitForWindow("ExplorerWClass", "Docs", 60000);
    EXPECT_NE(folder, nullptr);
    if (folder) PostMessageA(folder, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return undoneInStore() == std::vector<std::string>{"writer 4"}; }));
    EXPECT_EQ(confirmation.rowCount(), 1);

    // Neither a second double click nor Next undoes the record again.
    confirmation.doubleClickRow(0);
    next(done);
    EXPECT_FALSE(fileExists(docs + "\\one.undo.undo.doc"));
    finish();
    EXPECT_EQ(undoneInStore(), std::vector<std::string>{"writer 4"});
}

TEST_F(Wizard, TheOldestSessionUndoesEverySessionWithSettingsAndBackToTheSessionsKeepsThatChoice) {
    HWND page = follow({{IDC_WIZARD_UNDO, undoKind}, {IDC_WIZARD_PROGRAM_SETTINGS, settingsPrograms}});
    DialogList programs(page, IDC_WIZARD_PROGRAMS);
    // The download's program changed no setting.
    ASSERT_EQ(programs.column(0), (std::vector<std::string>{"writer"}));
    programs.clickRow(0);
    ASSERT_TRUE(waitUntil([&] { return programs.selectedRows().size() == 1; }));
    page = next(programSessions);
    DialogList sessions(page, IDC_WIZARD_SESSIONS);
    EXPECT_EQ(sessions.column(1), (std::vector<std::string>{"11:30:00 AM", "10:20:00 AM", "09:10:00 AM"}));
    sessions.clickRow(2);
    ASSERT_TRUE(waitUntil([&] { return sessions.selectedRows() == std::vector<int>{2}; }));
    page = next(confirmSettings);
    EXPECT_EQ(DialogList(page, IDC_WIZARD_LIST).rowCount(), 3);

    page = back(programSessions);
    EXPECT_EQ(DialogList(page, IDC_WIZARD_SESSIONS).rowCount(), 0);
    page = next(confirmSettings);
    EXPECT_EQ(DialogList(page, IDC_WIZARD_LIST).column(1),
              (std::vector<std::string>{"11:30:00 AM", "10:20:00 AM", "09:10:00 AM"}));
    next(done);

    // Saved before the wizard closes: a crash now loses nothing.
    EXPECT_EQ(undoneInStore().size(), 6u);
    EXPECT_EQ(zoomInRegistry(), 100u);
    EXPECT_EQ(zoomInFile(), 100u);
    finish();
    auto undone = undoneInStore();
    EXPECT_EQ(undone.size(), 6u);
    EXPECT_TRUE(std::all_of(undone.begin(), undone.end(), [](const std::string& r) { return r.starts_with("writer"); }));
}

TEST_F(Wizard, StartOverFromTheThirdOfFiveHoursUndoesTheRecordsThatBeginThoseThreeHours) {
    HWND page = follow({{IDC_WIZARD_START_OVER, startOver}});
    EXPECT_TRUE(buttonChecked(page, IDC_WIZARD_BY_TIME));
    page = next(hours);
    DialogList points(page, IDC_WIZARD_HOURS);
    EXPECT_EQ(points.column(1), (std::vector<std::string>{"01:00:00 PM", "12:00:00 PM", "11:00:00 AM",
                                                          "10:00:00 AM", "09:00:00 AM"}));
    EXPECT_EQ(points.cell(1, 0), "12/07/26");
    points.clickRow(2);
    ASSERT_TRUE(waitUntil([&] { return points.selectedRows() == std::vector<int>{2}; }));
    page = next(confirmStartOver);
    DialogList listed(page, IDC_WIZARD_LIST);
    EXPECT_EQ(listed.headers(), (std::vector<std::string>{"Program", "Date", "Time"}));
    EXPECT_EQ(listed.column(0), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(listed.column(2), (std::vector<std::string>{"01:00:00 PM", "12:00:00 PM", "11:00:00 AM"}));
    next(done);
    finish();

    // Explorer's rename, the download and the last run's first setting.
    auto undone = undoneInStore();
    std::sort(undone.begin(), undone.end());
    EXPECT_EQ(undone, (std::vector<std::string>{"explorer 3", "wget 1", "writer 10"}));
    EXPECT_TRUE(fileExists(docs + "\\one.doc"));
    EXPECT_FALSE(fileExists(docs + "\\news.page"));
    EXPECT_EQ(zoomInRegistry(), 102u);
    EXPECT_EQ(zoomInFile(), 103u);

    // As after Start Over's own dialog, nothing it undid is offered for redo.
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    auto menu = readOpenMenu(retrace->processId());
    closeMenuOnceShown(retrace->processId());
    ASSERT_TRUE(menu);
    ASSERT_NE(findMenuItem(*menu, 1021), nullptr);
    EXPECT_TRUE(findMenuItem(*menu, 1021)->greyed) << findMenuItem(*menu, 1021)->text;
}

TEST_F(Wizard, FindingDownloadsListsOnlyThemWithTheirProgramsIconAndADoubleClickOpensTheFile) {
    HWND page = follow({{IDC_WIZARD_FIND, findFile}});
    EXPECT_TRUE(buttonChecked(page, IDC_WIZARD_COPY));
    pressButton(page, IDC_WIZARD_DOWNLOAD);
    ASSERT_TRUE(waitUntil([&] { return buttonChecked(page, IDC_WIZARD_DOWNLOAD); }));
    HWND found = next(foundFiles);
    DialogList files(found, IDC_WIZARD_FOUND_FILES);
    EXPECT_EQ(files.headers(), (std::vector<std::string>{"Program", "File"}));
    ASSERT_EQ(files.column(1), (std::vector<std::string>{doc("news.page")}));
    EXPECT_EQ(files.cell(0, 0), "wget");
    EXPECT_TRUE(files.hasSmallImages());
    EXPECT_EQ(files.image(0), 0);

    files.doubleClickRow(0);
    HWND editor = waitForWindow("Notepad", nullptr, 60000);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(windowText(editor), "news.page - Notepad");
    PostMessageA(editor, WM_CLOSE, 0, 0);

    page = back(findFile);
    EXPECT_TRUE(buttonChecked(page, IDC_WIZARD_COPY));
    EXPECT_FALSE(buttonChecked(page, IDC_WIZARD_DOWNLOAD));
    pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_TRUE(waitForClose(sheet));
    EXPECT_TRUE(undoneInStore().empty());
}
