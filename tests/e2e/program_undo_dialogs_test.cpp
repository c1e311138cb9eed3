// Undoing a program's sessions and a Control Panel session through their
// dialogs, checked in the registry, the settings file and the stored history.

#include "tests/e2e/recorded_history.h"

#include <algorithm>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"

namespace {

const char writerKey[] = "Software\\Retrace E2E\\Writer";

// Four runs of one program, each setting the zoom to 101, 102, 103 and 104
// in the registry and in its settings file and saving a document; then one
// run of a Control Panel applet.
class ProgramUndoDialogs : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        const std::string ini = docs + "\\writer.ini";
        std::string script = "clock 2026-12-07 09:00:00\n";
        const char* documents[] = {"one", "two", "three", "four"};
        for (int run = 1; run <= 4; ++run) {
            std::string zoom = std::to_string(100 + run);
            script += "program WRITER \"C:\\Apps\\writer.exe\" " + std::to_string(300 + run) + "\n"
                      "set-value \"HKCU\\" + writerKey + "\\Zoom\" dword " + zoom + "\n" +
                      (run == 1 ? "create \"" + ini + "\" [View] Zoom=101\n"
                                : "ini \"" + ini + "\" View Zoom " + zoom + "\n") +
                      "create \"" + docs + "\\" + documents[run - 1] + ".doc\" " + zoom + "\n";
        }
        script += "program CPL \"C:\\Windows\\system32\\desk.cpl\" 500\n"
                  "set-value \"HKCU\\Software\\Retrace E2E\\Desktop\\Wallpaper\" sz sky.bmp\n";
        play(script);
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    }
    DWORD zoomInRegistry() const {
        DWORD zoom = 0, size = sizeof zoom;
        RegGetValueA(HKEY_CURRENT_USER, writerKey, "Zoom", RRF_RT_REG_DWORD, nullptr, &zoom, &size);
        return zoom;
    }
    UINT zoomInFile() const { return GetPrivateProfileIntA("View", "Zoom", 0, (docs + "\\writer.ini").c_str()); }
    int undoneInStore() const {
        auto history = storedHistory();
        return int(std::count_if(history.begin(), history.end(), [](const ActionRecord& r) { return r.undone(); }));
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

}  // namespace

TEST_F(ProgramUndoDialogs, TheChosenSessionAndTheNewerOnesAreUndoneNewestFirstWhateverTheListsOrder) {
    HWND dialog = openByCommand(mainWindow, IDM_PROGRAM_FIRST, "Undo Program - Writer");
    ASSERT_NE(dialog, nullptr);
    DialogList sessions(dialog, IDC_PROGRAM_SESSIONS), files(dialog, IDC_PROGRAM_FILES);
    EXPECT_EQ(sessions.column(0), (std::vector<std::string>{"Session 01", "Session 02", "Session 03", "Session 04"}));
    EXPECT_EQ(files.column(0)[0], toLowerAscii(docs) + "\\four.doc");
    EXPECT_EQ(files.column(5), (std::vector<std::string>{"01", "02", "03", "04"}));

    // The buttons follow the list the user picks in.
    files.clickRow(0);
    EXPECT_TRUE(waitUntil([&] { return controlShown(dialog, IDC_UNDO_FILE); }));
    EXPECT_FALSE(controlShown(dialog, IDC_UNDO_SESSION_ONLY));
    sessions.clickRow(2);
    EXPECT_TRUE(waitUntil([&] { return controlShown(dialog, IDC_UNDO_SESSION_ONLY); }));
    EXPECT_TRUE(controlShown(dialog, IDC_UNDO_SESSION_AND_FILES));
    EXPECT_FALSE(controlShown(dialog, IDC_UNDO_FILE));
    EXPECT_TRUE(files.selectedRows().empty());

    pressButton(dialog, IDC_UNDO_SESSION_AND_FILES);
    HWND confirmation = waitForDialog("Confirm undo of session");
    ASSERT_NE(confirmation, nullptr);
    DialogList taken(confirmation, IDC_CONFIRMATION_LIST);
    EXPECT_EQ(taken.column(0), (std::vector<std::string>{"01", "01", "01", "02", "02", "02", "03", "03", "03"}));
    EXPECT_EQ(taken.column(3), (std::vector<std::string>{"File", "Setting", "Setting", "File", "Setting", "Setting",
                                                         "File", "Setting", "Setting"}));
    EXPECT_EQ(taken.cell(0, 1), toLowerAscii(docs) + "\\four.doc");
    EXPECT_TRUE(taken.selectedRows().empty());
    // While a command runs, a tray click only brings its last dialog forward.
    SetForegroundWindow(dialog);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == dialog; }));
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == confirmation; }));
    EXPECT_FALSE(menuShown(retrace->processId()));
    pressButton(confirmation, IDCANCEL);
    ASSERT_TRUE(waitForClose(confirmation));
    ASSERT_TRUE(IsWindow(dialog));

    // Sorted oldest first, the row of the third newest session is the second.
    sessions.clickHeader(2);
    ASSERT_TRUE(waitUntil([&] { return sessions.cell(0, 0) == "Session 04"; }));
    sessions.clickRow(sessions.rowOf("Session 03"));
    EXPECT_TRUE(waitUntil([&] { return controlShown(dialog, IDC_UNDO_SESSION_ONLY); }));
    pressButton(dialog, IDC_UNDO_SESSION_ONLY);
    confirmation = waitForDialog("Confirm undo of session");
    ASSERT_NE(confirmation, nullptr);
    DialogList settings(confirmation, IDC_CONFIRMATION_LIST);
    EXPECT_EQ(settings.column(0), (std::vector<std::string>{"01", "01", "02", "02", "03", "03"}));
    EXPECT_EQ(settings.cell(1, 1), "hkcu\\software\\retrace e2e\\writer\\zoom");
    EXPECT_EQ(settings.cell(1, 2), "");
    pressButton(confirmation, IDOK);
    ASSERT_TRUE(waitForClose(dialog));

    // Newest first, each run puts back the value before it: the first run's.
    EXPECT_TRUE(waitUntil([&] { return undoneInStore() == 6; }));
    EXPECT_EQ(zoomInRegistry(), 101u);
    EXPECT_EQ(zoomInFile(), 101u);
    for (const char* document : {"two", "three", "four"}) EXPECT_TRUE(fileExists(docs + "\\" + document + ".doc"));
}

TEST_F(ProgramUndoDialogs, AControlPanelSessionIsSavedBeforeTheRestartIsOfferedAndNoKeepsRetraceRunning) {
    HWND confirm = openByCommand(mainWindow, IDM_APPLET_FIRST, "Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(controlText(confirm, IDC_CONFIRM_ITEM), "C:\\windows\\system32\\desk.cpl");
    EXPECT_FALSE(controlShown(confirm, IDC_CONFIRM_OPEN));
    pressButton(confirm, IDOK);
    HWND question = waitForDialog("Reboot Now?");
    ASSERT_NE(question, nullptr);
    // The new value and the key made for it.
    EXPECT_EQ(undoneInStore(), 2);
    HKEY key;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Retrace E2E\\Desktop", &key), ERROR_FILE_NOT_FOUND);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(waitForClose(confirm));
    Sleep(500);
    EXPECT_TRUE(retrace->running());
    EXPECT_TRUE(IsWindow(mainWindow));
}
