// The preview of an undo, opened from each dialog that offers "Preview...",
// over one recorded history: what it shows, and that it undoes nothing.

#include "tests/e2e/recorded_history.h"

#include <algorithm>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const std::string binaryStart = "\x01\x02\x03 picture";

// A memo changed by Notepad, then by Excel at 10:42; Writer's two sessions of
// settings with a picture changed in the first and a note in the second;
// Explorer moving two letters.
std::string history() {
    return "clock 2026-12-07 09:00:00\n"
           "program NOTEPAD \"C:\\Windows\\notepad.exe\" 300\n"
           "create \"" + docs + "\\memo.doc\" \"first line\" \"second line\" \"third line\"\n"
           "write \"" + docs + "\\memo.doc\" \"first line\" \"SECOND LINE\" \"third line\"\n"
           "clock 2026-12-07 10:42:00\n"
           "program EXCEL \"C:\\Apps\\excel.exe\" 301\n"
           "write \"" + docs + "\\memo.doc\" \"first line\" \"SECOND LINE\" \"third line\" \"fourth line\"\n"
           "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
           "create \"" + docs + "\\a.doc\" a\n"
           "create \"" + docs + "\\b.doc\" b\n"
           "move \"" + docs + "\\a.doc\" \"" + docs + "\\Archive\\a.doc\"\n"
           "move \"" + docs + "\\b.doc\" \"" + docs + "\\Archive\\b.doc\"\n"
           "program WRITER \"C:\\Apps\\writer.exe\" 302\n"
           "set-value \"HKCU\\Software\\Retrace E2E\\Writer\\Zoom\" dword 100\n"
           "ini \"" + docs + "\\writer.ini\" View Zoom 100\n"
           "create \"" + docs + "\\picture.doc\" \"" + binaryStart + "\"\n"
           "write \"" + docs + "\\picture.doc\" \"" + binaryStart + " retouched\" \"and larger\"\n"
           "program WRITER \"C:\\Apps\\writer.exe\" 303\n"
           "set-value \"HKCU\\Software\\Retrace E2E\\Writer\\Zoom\" dword 120\n"
           "ini \"" + docs + "\\writer.ini\" View Zoom 120\n"
           "create \"" + docs + "\\note.doc\" \"draft\"\n"
           "write \"" + docs + "\\note.doc\" \"final\"\n";
}

class UndoPreview : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        play(history());
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
        // A click folds the reports into the action list; what the preview
        // must leave alone is what is there after that.
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        ASSERT_TRUE(closeMenuOnceShown(retrace->processId()));
        ASSERT_TRUE(waitUntil([&] { return !(before = storedHistory()).empty(); }));
        docsBefore = filesIn(docs);
        binBefore = filesIn(bin);
    }
    void TearDown() override {
        retrace.reset();
        RecordedHistoryTest::TearDown();
    }

    HWND choose(unsigned item, const char* caption) {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        if (!chooseMenuItem(retrace->processId(), item)) return nullptr;
        return waitForDialog(caption);
    }
    HWND openPreview(HWND dialog) {
        pressButton(dialog, IDC_PREVIEW);
        return waitForDialog("Undo Preview");
    }
    // The preview closed, nothing was undone: the files, the Undo Bin, the
    // registry and every record's undone flag are as they were.
    void expectNothingUndone(HWND preview) {
        pressButton(preview, IDCANCEL);
        ASSERT_TRUE(waitForClose(preview));
        EXPECT_EQ(filesIn(docs), docsBefore);
        EXPECT_EQ(filesIn(bin), binBefore);
        EXPECT_EQ(contentOf(docs + "\\memo.doc"), "first line\r\nSECOND LINE\r\nthird line\r\nfourth line\r\n");
        DWORD zoom = 0, size = sizeof zoom;
        RegGetValueA(HKEY_CURRENT_USER, "Software\\Retrace E2E\\Writer", "Zoom", RRF_RT_REG_DWORD, nullptr, &zoom,
                     &size);
        EXPECT_EQ(zoom, 120u);
        std::vector<ActionRecord> after = storedHistory();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].undone(), before[i].undone()) << i;
    }
    std::vector<std::string> rowOf(const DialogList& list, int row) {
        std::vector<std::string> cells;
        for (size_t column = 0; column < list.headers().size(); ++column) cells.push_back(list.cell(row, int(column)));
        return cells;
    }

    std::vector<ActionRecord> before;
    std::vector<std::string> docsBefore, binBefore;
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

}  // namespace

TEST_F(UndoPreview, TheFilesHistoryShowsTheFirstChangeOfATextBesideTheFileNowAndWhoChangedItSince) {
    HWND files = choose(IDM_FILE_MORE, "Files");
    ASSERT_NE(files, nullptr);
    DialogList rows(files, IDC_HISTORY_LIST);
    int notepadModify = -1;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.cell(row, 0).ends_with("memo.doc") && rows.cell(row, 1) == "Modify" && rows.cell(row, 2) == "notepad")
            notepadModify = row;
    ASSERT_NE(notepadModify, -1);
    rows.clickRow(notepadModify);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(files, IDC_PREVIEW); }));

    HWND preview = openPreview(files);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(controlText(preview, IDC_PREVIEW_NOTICE),
              "Changed since 10:42 by Excel: the later version is kept beside the one that comes back.");
    DialogList lines(preview, IDC_PREVIEW_LIST);
    EXPECT_EQ(lines.headers(), (std::vector<std::string>{"Line", "", "Comes back", "Now"}));
    ASSERT_EQ(lines.rowCount(), 4);
    EXPECT_EQ(rowOf(lines, 0), (std::vector<std::string>{"1", "", "first line", "first line"}));
    EXPECT_EQ(rowOf(lines, 1), (std::vector<std::string>{"2", "<>", "second line", "SECOND LINE"}));
    EXPECT_EQ(rowOf(lines, 3), (std::vector<std::string>{"4", ">", "", "fourth line"}));
    expectNothingUndone(preview);

    // The confirmation says it on one line before the undo.
    pressButton(files, IDOK);
    HWND confirm = waitForDialog("Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(controlText(confirm, IDC_CONFIRM_NOTICE),
              "Changed since 10:42 by Excel: the later version is kept beside the one that comes back.");
    EXPECT_TRUE(controlEnabled(confirm, IDOK));
    pressButton(confirm, IDCANCEL);
    EXPECT_TRUE(waitForClose(confirm));
}

TEST_F(UndoPreview, ConfirmUndoSaysTheEarlierVersionIsMissingBeforeAnyUndoIsTried) {
    auto record = std::find_if(before.rbegin(), before.rend(),
                               [](const ActionRecord& r) { return r.kind == kindModify && r.dataA.ends_with("note.doc"); });
    ASSERT_NE(record, before.rend());
    ASSERT_TRUE(DeleteFileA(record->dataC.c_str()));
    binBefore = filesIn(bin);

    HWND confirm = choose(IDM_FILE_FIRST, "Confirm Undo");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(controlText(confirm, IDC_CONFIRM_NOTICE), "The earlier version is not available");
    EXPECT_EQ(LOWORD(SendMessageA(confirm, DM_GETDEFID, 0, 0)), IDCANCEL);
    HWND preview = openPreview(confirm);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(controlText(preview, IDC_PREVIEW_NOTICE), "The earlier version is not available");
    EXPECT_FALSE(controlShown(preview, IDC_PREVIEW_OPEN_EARLIER));
    expectNothingUndone(preview);
    pressButton(confirm, IDCANCEL);
    EXPECT_TRUE(waitForClose(confirm));
}

TEST_F(UndoPreview, TheProgramDialogListsASessionsSettingsAndOpensABinaryFilesEarlierVersionAsACopy) {
    HWND program = choose(IDM_PROGRAM_FIRST, "Undo Program - Writer");
    ASSERT_NE(program, nullptr);
    DialogList sessions(program, IDC_PROGRAM_SESSIONS);
    sessions.clickRow(0);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(program, IDC_PREVIEW); }));
    HWND preview = openPreview(program);
    ASSERT_NE(preview, nullptr);
    DialogList settings(preview, IDC_PREVIEW_LIST);
    const std::string ini = toLowerAscii(docs) + "\\writer.ini [View]";
    ASSERT_EQ(settings.rowCount(), 2);
    std::vector<std::vector<std::string>> shown{rowOf(settings, 0), rowOf(settings, 1)};
    // In the order the undo puts them back: the session's last change first.
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{ini, "Zoom", "120", "100"},
                                                            {"hkcu\\software\\retrace e2e\\writer", "zoom", "120",
                                                             "100"}}));
    pressButton(preview, IDCANCEL);
    ASSERT_TRUE(waitForClose(preview));

    DialogList files(program, IDC_PROGRAM_FILES);
    int picture = -1;
    for (int row = 0; row < files.rowCount(); ++row)
        if (files.cell(row, 0).ends_with("picture.doc") && files.cell(row, 1) == "Modify") picture = row;
    ASSERT_NE(picture, -1);
    files.clickRow(picture);
    ASSERT_TRUE(waitUntil([&] { return files.selectedRows() == std::vector<int>{picture}; }));
    preview = openPreview(program);
    ASSERT_NE(preview, nullptr);
    DialogList versions(preview, IDC_PREVIEW_LIST);
    ASSERT_EQ(versions.rowCount(), 2);
    const size_t earlierSize = binaryStart.size() + 2;
    const size_t nowSize = binaryStart.size() + 12 + 12;
    EXPECT_EQ(versions.column(0), (std::vector<std::string>{"Comes back", "Now"}));
    EXPECT_EQ(versions.column(1), (std::vector<std::string>{std::to_string(earlierSize), std::to_string(nowSize)}));
    EXPECT_EQ(versions.cell(0, 2), "12/07/26");

    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "Retrace Preview\\picture.doc";
    DeleteFileA(copy.c_str());
    pressButton(preview, IDC_PREVIEW_OPEN_EARLIER);
    EXPECT_TRUE(waitUntil([&] { return contentOf(copy) == binaryStart + "\r\n"; }));
    expectNothingUndone(preview);
    pressButton(program, IDCANCEL);
}

TEST_F(UndoPreview, TheListConfirmationOfAnExplorerMoveSaysWhichPathsGoBackWhere) {
    HWND files = choose(IDM_FILE_MORE, "Files");
    ASSERT_NE(files, nullptr);
    DialogList rows(files, IDC_HISTORY_LIST);
    int move = -1;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.cell(row, 1) == "Move") move = row;
    ASSERT_NE(move, -1);
    rows.clickRow(move);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(files, IDOK); }));
    pressButton(files, IDOK);
    HWND confirm = waitForDialog("Confirm Undo of Move by Explorer");
    ASSERT_NE(confirm, nullptr);
    HWND preview = openPreview(confirm);
    ASSERT_NE(preview, nullptr);
    DialogList steps(preview, IDC_PREVIEW_LIST);
    const std::string d = toLowerAscii(docs);
    EXPECT_EQ(steps.column(1),
              (std::vector<std::string>{"The undo moves " + d + "\\archive\\b.doc back to " + d + "\\b.doc.",
                                        "The undo moves " + d + "\\archive\\a.doc back to " + d + "\\a.doc."}));
    expectNothingUndone(preview);
    pressButton(confirm, IDCANCEL);
}
