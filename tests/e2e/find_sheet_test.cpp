// The Find sheet from the tray menu's command: each tab's rows, "Open".

#include "tests/e2e/recorded_history.h"

#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

// One program's documents, filed by Explorer, and two downloads of which
// the newer is undone.
class FindSheet : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        play("clock 2026-12-07 09:00:00\n"
             "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
             "create \"" + docs + "\\a.doc\" a\n"
             "create \"" + docs + "\\b.doc\" b\n"
             "write \"" + docs + "\\a.doc\" a2\n"
             "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
             "rename \"" + docs + "\\b.doc\" \"" + docs + "\\c.doc\"\n"
             "copy \"" + docs + "\\a.doc\" \"" + docs + "\\Copies\\a.doc\"\n"
             "move \"" + docs + "\\c.doc\" \"" + docs + "\\Archive\\c.doc\"\n"
             "program WGET \"C:\\Apps\\wget.exe\" 500\n"
             "create \"" + docs + "\\x.doc\" x\n"
             "create \"" + docs + "\\y.doc\" y\n");
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        ASSERT_TRUE(chooseMenuItem(retrace->processId(), IDM_FILE_FIRST));
        HWND confirm = waitForDialog("Confirm Undo");
        ASSERT_NE(confirm, nullptr);
        pressButton(confirm, IDOK);
        ASSERT_TRUE(waitForClose(confirm));
        sheet = openByCommand(mainWindow, IDM_FIND, "Undo find");
        ASSERT_NE(sheet, nullptr);
    }
    std::string doc(const char* name) { return toLowerAscii(docs) + "\\" + name; }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
    HWND sheet = nullptr;
};

}  // namespace

TEST_F(FindSheet, EachTabListsItsLiveKindNewestFirstWithTheProgramsIconsAndOpenDisabled) {
    EXPECT_EQ(controlText(sheet, IDOK), "Open");
    EXPECT_EQ(controlText(sheet, IDCANCEL), "Close");
    struct {
        int listId;
        std::vector<std::string> names;
    } tabs[] = {
        {IDC_FIND_CREATE_LIST, {doc("x.doc"), doc("b.doc"), doc("a.doc")}},
        {IDC_FIND_MODIFY_LIST, {doc("a.doc")}},
        {IDC_FIND_RENAME_LIST, {doc("b.doc")}},
        {IDC_FIND_COPY_LIST, {doc("copies\\a.doc")}},
        {IDC_FIND_MOVE_LIST, {doc("c.doc")}},
        {IDC_FIND_DOWNLOAD_LIST, {doc("x.doc")}},
    };
    for (int tab = 0; tab < 6; ++tab) {
        HWND page = showSheetPage(sheet, tab);
        ASSERT_NE(page, nullptr) << tab;
        DialogList list(page, tabs[tab].listId);
        EXPECT_EQ(list.headers(), (std::vector<std::string>{"Name", "Date", "Time"}));
        EXPECT_EQ(list.column(0), tabs[tab].names) << tab;
        EXPECT_EQ(list.cell(0, 1), "12/07/26");
        EXPECT_TRUE(list.hasSmallImages());
        for (int row = 0; row < list.rowCount(); ++row) EXPECT_GE(list.image(row), 0) << tab;
        EXPECT_FALSE(controlEnabled(sheet, IDOK)) << tab;
    }
}

TEST_F(FindSheet, OpenOnARenameRowShowsItsFolderAndStaysOpenThenWithNothingChosenCloses) {
    HWND page = showSheetPage(sheet, 2);
    ASSERT_NE(page, nullptr);
    DialogList list(page, IDC_FIND_RENAME_LIST);
    list.clickRow(0);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(sheet, IDOK) && list.selectedRows().size() == 1; }));
    pressButton(sheet, IDOK);
    // The file has moved on from its new name since, so the folder it was in opens.
    HWND folder = waitForWindow("ExplorerWClass", "Docs", 60000);
    EXPECT_NE(folder, nullptr);
    if (folder) PostMessageA(folder, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(sheet));

    list.clickRow(-1);
    ASSERT_TRUE(waitUntil([&] { return list.selectedRows().empty(); }));
    pressButton(sheet, IDOK);
    EXPECT_TRUE(waitForClose(sheet));
}

TEST_F(FindSheet, OpenOnARenameOrAMoveOpensTheFileWhereItIsNow) {
    // A program of the test's own opens documents and notes which.
    const std::string opened = "C:\\Retrace E2E\\opened.txt";
    const std::string command = "\"" + windowsPath(HELP_VIEWER_PROBE_EXE) + "\" \"" + opened + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, ".doc", REG_SZ, "RetraceE2E.doc", 0);
    RegSetValueA(HKEY_CLASSES_ROOT, "RetraceE2E.doc\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    putFile(docs + "\\c.doc", "renamed, before the move");  // where the rename left it
    struct {
        int page, listId;
        std::string now;
    } rows[] = {{2, IDC_FIND_RENAME_LIST, doc("c.doc")}, {4, IDC_FIND_MOVE_LIST, doc("archive\\c.doc")}};
    for (const auto& row : rows) {
        DeleteFileA(opened.c_str());
        HWND page = showSheetPage(sheet, row.page);
        ASSERT_NE(page, nullptr);
        DialogList list(page, row.listId);
        list.clickRow(0);
        ASSERT_TRUE(waitUntil([&] { return controlEnabled(sheet, IDOK) && list.selectedRows().size() == 1; }));
        pressButton(sheet, IDOK);
        std::string shown;
        EXPECT_TRUE(waitUntil([&] { return !(shown = bytesOf(opened).value_or("")).empty(); }, 30000));
        EXPECT_EQ(toLowerAscii(shown.substr(0, shown.find_first_of("\r\n"))), row.now);
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "RetraceE2E.doc");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".doc");
}
