// Long work as a person meets it: an undo of thousands of files that says
// how far it is and names what failed once at the end, and a program's
// dialog of 100,000 records that opens with every row and sorts them.

#include "tests/e2e/recorded_history.h"

#include <cstdio>

#include "engine/undo_progress.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/large_history_win32.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

class LongWork : public RecordedHistoryTest {
protected:
    void start() {
        retrace.emplace();
        mainWindow = waitForMainWindow(120000);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntilIdle(mainWindow, 120000));
    }
    HWND openWriter() { return openByCommand(mainWindow, IDM_PROGRAM_FIRST, "Undo Program - Writer"); }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

// The count a busy text shows, or 0: "Undoing 1,825 of 3,000: name..." gives 1825.
size_t countShown(const std::string& text, const std::string& total) {
    const std::string of = " of " + total + ": ";
    if (!text.starts_with("Undoing ") || text.find(of) == std::string::npos) return 0;
    std::string digits;
    for (char c : text.substr(8, text.find(of) - 8))
        if (c != ',') digits += c;
    return digits.empty() ? 0 : std::stoul(digits);
}

}  // namespace

TEST_F(LongWork, AThreeThousandFileUndoCountsOnThePanelAndNamesTheTwoFilesThatFailedInOneMessage) {
    std::vector<ActionRecord> history = writerModifies(docs, bin, 2998, 2998);
    // Two renames back to names that are taken again since.
    const std::string lowerDocs = toLowerAscii(docs);
    for (const char* name : {"taken1.txt", "taken2.txt"}) {
        ActionRecord rename = history.back();
        rename.kind = kindRename;
        rename.dataA = lowerDocs + "\\" + name;
        rename.dataB = lowerDocs + "\\moved " + name;
        rename.dataC = "";
        history.push_back(rename);
        putFile(docs + "\\" + name, "took the name since");
        putFile(docs + "\\moved " + name, "moved");
    }
    storeHistory(bin, history);
    start();
    HWND dialog = openWriter();
    ASSERT_NE(dialog, nullptr);
    DialogList sessions(dialog, IDC_PROGRAM_SESSIONS);
    sessions.clickRow(0);
    ASSERT_TRUE(waitUntil([&] { return controlShown(dialog, IDC_UNDO_SESSION_AND_FILES); }));
    pressButton(dialog, IDC_UNDO_SESSION_AND_FILES);
    HWND confirmation = waitForDialog("Confirm undo of session");
    ASSERT_NE(confirmation, nullptr);
    EXPECT_EQ(DialogList(confirmation, IDC_CONFIRMATION_LIST).rowCount(), 3000);

    MessageBoxAnswerer errors("Undo Error");
    pressButton(confirmation, IDOK);
    // The panel is read as a person reads it, until the one message comes.
    std::vector<size_t> counts;
    const double began = now();
    while (errors.texts().empty() && now() - began < 110000) {
        HWND panel = busyPanel();
        if (panel && IsWindowVisible(panel)) {
            const size_t count = countShown(windowText(GetDlgItem(panel, IDC_BUSY_TEXT)), "3,000");
            if (count && (counts.empty() || count != counts.back())) counts.push_back(count);
        }
        Sleep(50);
    }
    ASSERT_GE(counts.size(), 2u) << "the count was seen to rise";
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_LE(counts.back(), 3000u);
    ASSERT_TRUE(waitForClose(dialog, 30000));
    const auto texts = errors.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].starts_with(undoFailedMessage)) << texts[0];
    for (const char* name : {"taken1.txt", "taken2.txt"})
        EXPECT_NE(texts[0].find("\n" + lowerDocs + "\\" + name), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("These files could not be undone:"), std::string::npos) << texts[0];
    EXPECT_EQ(contentOf(docs + "\\file00001.undo.doc"), "earlier file00001.doc");
    EXPECT_EQ(contentOf(docs + "\\file02998.undo.doc"), "earlier file02998.doc");
    EXPECT_EQ(contentOf(docs + "\\taken1.txt"), "took the name since");
}

TEST_F(LongWork, AProgramOfAHundredThousandRecordsOpensWithEveryRowAndSortsThem) {
    storeHistory(bin, writerCreates(docs, 100'000, 100));
    start();
    const double opening = now();
    HWND dialog = openWriter();
    ASSERT_NE(dialog, nullptr);
    std::printf("[ figures  ] the dialog of 100,000 records showed after %.0f ms\n", now() - opening);
    DialogList files(dialog, IDC_PROGRAM_FILES);
    DialogList sessions(dialog, IDC_PROGRAM_SESSIONS);
    EXPECT_EQ(files.rowCount(), 100'000);
    EXPECT_EQ(sessions.rowCount(), 1'000);
    const std::string lowerDocs = toLowerAscii(docs);
    EXPECT_EQ(files.cell(0, 0), lowerDocs + "\\file100000.doc");  // the newest first

    files.clickHeader(0);
    EXPECT_TRUE(waitUntil([&] { return files.cell(0, 0) == lowerDocs + "\\file00001.doc"; }, 60000));
    EXPECT_EQ(files.cell(99'999, 0), lowerDocs + "\\file99999.doc");  // as text, "file1..." before "file9..."
    files.clickHeader(0);
    EXPECT_TRUE(waitUntil([&] { return files.cell(0, 0) == lowerDocs + "\\file99999.doc"; }, 60000));

    sessions.clickRow(0);
    ASSERT_TRUE(waitUntil([&] { return controlShown(dialog, IDC_UNDO_SESSION_AND_FILES); }));
    pressButton(dialog, IDC_UNDO_SESSION_AND_FILES);
    HWND confirmation = waitForDialog("Confirm undo of session");
    ASSERT_NE(confirmation, nullptr);
    EXPECT_EQ(DialogList(confirmation, IDC_CONFIRMATION_LIST).rowCount(), 100);
    pressButton(confirmation, IDCANCEL);
    EXPECT_TRUE(waitForClose(confirmation));
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitForClose(dialog));
}
