// Undoing file actions from the tray menu and the history, through the
// confirmation dialogs, checked on disk and in the stored history.

#include "tests/e2e/recorded_history.h"

#include <algorithm>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

// A morning of one program's documents, filed away and deleted by Explorer.
// The menu lists, newest first: the report's modify, the delete of three
// files, the move of three files, then single creates.
class FileUndoDialogs : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        std::string script = "clock 2026-12-07 09:00:00\n"
                             "program PAINT \"C:\\Apps\\paint.exe\" 400\n";
        for (int i = 1; i <= 12; ++i) script += "create \"" + docs + "\\p" + std::to_string(i) + ".doc\" p\n";
        script += "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
                  "create \"" + docs + "\\report.doc\" \"first draft\"\n";
        for (const char* name : {"a", "b", "c", "x", "y", "z"})
            script += "create \"" + docs + "\\" + name + ".doc\" " + name + "\n";
        script += "program explorer \"C:\\Windows\\explorer.exe\" 88\n";
        for (const char* name : {"x", "y", "z"})
            script += "move \"" + docs + "\\" + name + ".doc\" \"" + docs + "\\Archive\\" + name + ".doc\"\n";
        for (const char* name : {"a", "b", "c"}) script += "delete \"" + docs + "\\" + name + ".doc\"\n";
        script += "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
                  "write \"" + docs + "\\report.doc\" \"second draft\"\n";
        play(script);
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    }
    // Clicks the tray icon and chooses the menu item, as a person does.
    HWND choose(unsigned item, const char* caption) {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        if (!chooseMenuItem(retrace->processId(), item)) return nullptr;
        return waitForDialog(caption);
    }
    std::string menuListing() {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        auto menu = readOpenMenu(retrace->processId());
        closeMenuOnceShown(retrace->processId());
        return menu ? writeMenuListing(*menu) : "no menu";
    }
    // The stored record of the file's action of that kind, the last one.
    std::optional<ActionRecord> stored(int32_t kind, const std::string& name) {
        auto history = storedHistory();
        auto found = std::find_if(history.rbegin(), history.rend(), [&](const ActionRecord& r) {
            return r.kind == kind && r.dataA == toLowerAscii(docs) + "\\" + name;
        });
        return found == history.rend() ? std::nullopt : std::optional(*found);
    }
    bool storedAsUndone(int32_t kind, const std::string& name) {
        return waitUntil([&] { return stored(kind, name) && stored(kind, name)->undone(); });
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

}  // namespace

TEST_F(FileUndoDialogs, ASingleActionIsConfirmedByNameAndComesBackBesideTheFileThenRedoTakesItBack) {
    HWND confirm = choose(IDM_FILE_FIRST, "Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(toLowerAscii(controlText(confirm, IDC_CONFIRM_ITEM)), toLowerAscii(docs) + "\\report.doc");
    EXPECT_TRUE(controlShown(confirm, IDC_CONFIRM_OPEN));
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitForClose(confirm));
    EXPECT_TRUE(storedAsUndone(kindModify, "report.doc"));
    EXPECT_EQ(contentOf(docs + "\\report.undo.doc"), "first draft\r\n");
    EXPECT_EQ(contentOf(docs + "\\report.doc"), "second draft\r\n");

    std::string listing = menuListing();
    EXPECT_NE(listing.find("1021||Redo writer Modify of c:\\\\...\\\\report.doc\n"), std::string::npos) << listing;
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(chooseMenuItem(retrace->processId(), IDM_REDO));
    EXPECT_TRUE(waitUntil([&] { return !fileExists(docs + "\\report.undo.doc"); }));
    EXPECT_TRUE(waitUntil([&] { return storedHistory().back().kind == kindModify && !storedHistory().back().undone(); }));
    EXPECT_EQ(contentOf(docs + "\\report.doc"), "second draft\r\n");
}

TEST_F(FileUndoDialogs, AnExplorerDeleteOfThreeFilesListsAllPickedAndBringsBackOnlyThoseStillPicked) {
    HWND confirm = choose(IDM_FILE_FIRST + 1, "Confirm Undo of Delete by Explorer");
    ASSERT_NE(confirm, nullptr);
    DialogList files(confirm, IDC_CONFIRMATION_LIST);
    const std::string d = toLowerAscii(docs);
    EXPECT_EQ(files.column(0), (std::vector<std::string>{d + "\\c.doc", d + "\\b.doc", d + "\\a.doc"}));
    EXPECT_EQ(files.selectedRows(), (std::vector<int>{0, 1, 2}));
    files.setSelected(1, false);
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitForClose(confirm));
    EXPECT_TRUE(storedAsUndone(kindDelete, "a.doc"));
    EXPECT_EQ(contentOf(docs + "\\a.undo.doc"), "a\r\n");
    EXPECT_EQ(contentOf(docs + "\\c.undo.doc"), "c\r\n");
    EXPECT_FALSE(fileExists(docs + "\\b.undo.doc"));
    EXPECT_FALSE(stored(kindDelete, "b.doc")->undone());
}

TEST_F(FileUndoDialogs, OpenUndoesShowsTheResultAndKeepsTheRedoListBeforeIt) {
    HWND confirm = choose(IDM_FILE_FIRST + 1, "Confirm Undo of Delete by Explorer");
    ASSERT_NE(confirm, nullptr);
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitForClose(confirm));
    ASSERT_TRUE(storedAsUndone(kindDelete, "c.doc"));

    confirm = choose(IDM_FILE_FIRST, "Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    pressButton(confirm, IDC_CONFIRM_OPEN);
    ASSERT_TRUE(waitForClose(confirm, 60000));
    EXPECT_TRUE(storedAsUndone(kindModify, "report.doc"));
    EXPECT_EQ(contentOf(docs + "\\report.undo.doc"), "first draft\r\n");
    // Wine knows no program for .doc files, so their folder is shown.
    // The first folder window of a Wine session may take a while to start.
    HWND folder = waitForWindow("ExplorerWClass", "Docs", 60000);
    EXPECT_NE(folder, nullptr);
    if (folder) PostMessageA(folder, WM_CLOSE, 0, 0);
    // The three files of the delete and the report: one list.
    std::string listing = menuListing();
    EXPECT_NE(listing.find("1021||Redo explorer Deletes (4) from c:\\\\retrace e2e\\\\docs\n"), std::string::npos)
        << listing;
}

TEST_F(FileUndoDialogs, AFileChangedSinceIsReportedOnceAndTheOtherFilesStillComeBack) {
    DeleteFileA((docs + "\\Archive\\y.doc").c_str());
    MessageBoxAnswerer errors("Undo Error");
    HWND confirm = choose(IDM_FILE_FIRST + 2, "Confirm Undo of Move by Explorer");
    ASSERT_NE(confirm, nullptr);
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitForClose(confirm, 30000));
    EXPECT_TRUE(storedAsUndone(kindMove, "x.doc"));
    EXPECT_EQ(contentOf(docs + "\\x.doc"), "x\r\n");
    EXPECT_EQ(contentOf(docs + "\\z.doc"), "z\r\n");
    EXPECT_EQ(errors.texts(), (std::vector<std::string>{"Unable to Undo the file. This happens when the file has been "
                                                        "changed after the action the Undo was attempted on.\n\n"
                                                        "This file could not be undone:\n" +
                                                        toLowerAscii(docs) + "\\y.doc"}));
}

// "Retrace" pressed again while the undo's own message is up undoes nothing
// more: one message, and the dialog ends once it is answered.
TEST_F(FileUndoDialogs, ASecondRetraceWhileTheUndoShowsItsMessageUndoesNothingMore) {
    auto report = stored(kindModify, "report.doc");
    ASSERT_TRUE(report);
    ASSERT_TRUE(DeleteFileA(std::string(report->dataC).c_str()));  // the earlier version is gone
    auto errorBoxes = [] {
        int count = 0;
        EnumWindows(
            [](HWND window, LPARAM counted) {
                char title[64] = "";
                GetWindowTextA(window, title, sizeof title);
                if (IsWindowVisible(window) && std::string(title) == "Undo Error") ++*reinterpret_cast<int*>(counted);
                return TRUE;
            },
            LPARAM(&count));
        return count;
    };
    HWND confirm = choose(IDM_FILE_FIRST, "Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitUntil([&] { return errorBoxes() == 1; }));
    pressButton(confirm, IDOK);
    Sleep(1000);
    EXPECT_EQ(errorBoxes(), 1);
    pressButton(findMessageBox("Undo Error"), IDOK);
    ASSERT_TRUE(waitForClose(confirm));
    Sleep(500);
    EXPECT_EQ(errorBoxes(), 0);
}

TEST_F(FileUndoDialogs, TheHistoriesListNewestFirstSortNumbersByValueAndReturnNothingWithoutARow) {
    HWND files = choose(IDM_FILE_MORE, "Files");
    ASSERT_NE(files, nullptr);
    DialogList fileRows(files, IDC_HISTORY_LIST);
    EXPECT_EQ(fileRows.headers(),
              (std::vector<std::string>{"Name", "Action", "Program", "Files", "Size", "Date", "Time"}));
    EXPECT_EQ(fileRows.rowCount(), 12 + 1 + 6 + 2 + 1);
    EXPECT_EQ(fileRows.cell(0, 0), toLowerAscii(docs) + "\\report.doc");
    EXPECT_EQ(fileRows.cell(1, 0), toLowerAscii(docs));
    EXPECT_EQ(fileRows.cell(1, 3), "3");
    pressButton(files, IDCANCEL);
    ASSERT_TRUE(waitForClose(files));

    HWND programs = choose(IDM_PROGRAM_MORE, "Programs");
    ASSERT_NE(programs, nullptr);
    DialogList programRows(programs, IDC_HISTORY_LIST);
    EXPECT_EQ(programRows.column(0), (std::vector<std::string>{"Writer", "Paint"}));
    EXPECT_EQ(programRows.column(1), (std::vector<std::string>{"8", "12"}));
    EXPECT_FALSE(controlEnabled(programs, IDOK));
    programRows.clickRow(-1);
    EXPECT_TRUE(waitUntil([&] { return controlEnabled(programs, IDOK); }));
    pressButton(programs, IDOK);
    ASSERT_TRUE(waitForClose(programs));
    EXPECT_EQ(waitForDialog("Undo Program - Writer", 1000), nullptr);

    programs = choose(IDM_PROGRAM_MORE, "Programs");
    ASSERT_NE(programs, nullptr);
    DialogList sortedRows(programs, IDC_HISTORY_LIST);
    sortedRows.clickHeader(0);
    EXPECT_TRUE(waitUntil([&] { return sortedRows.column(0) == std::vector<std::string>{"Paint", "Writer"}; }));
    // As text "12" would come first.
    sortedRows.clickHeader(1);
    EXPECT_TRUE(waitUntil([&] { return sortedRows.column(1) == std::vector<std::string>{"8", "12"}; }));
    sortedRows.clickHeader(1);
    EXPECT_TRUE(waitUntil([&] { return sortedRows.column(1) == std::vector<std::string>{"12", "8"}; }));
    sortedRows.clickRow(sortedRows.rowOf("Paint"));
    pressButton(programs, IDOK);
    HWND sessions = waitForDialog("Undo Program - Paint");
    EXPECT_NE(sessions, nullptr);
    pressButton(sessions, IDCANCEL);
    EXPECT_TRUE(waitForClose(sessions));
}
