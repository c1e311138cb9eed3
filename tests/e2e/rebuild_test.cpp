// A recorded session folded into the history at start-up and on a tray
// click, checked in the action list file and the Undo Bin as they are on disk.

#include "tests/e2e/recorded_history.h"

#include <algorithm>
#include <fstream>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"
#include "tools/monitor_standin/player_win32.h"

namespace {

struct Expected {
    int32_t kind;
    const char* program;
    std::string dataA;
    int32_t isSetting;
    int32_t undone;
};

using Rebuild = RecordedHistoryTest;

}  // namespace

TEST_F(Rebuild, StartUpAndATrayClickFoldARecordedSessionIntoTheStoredHistory) {
    play("clock 2026-12-07 09:00:00\n"
         "boot FIRST\n"
         "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
         "create \"" + docs + "\\letter.doc\" \"Dear Sam,\"\n"
         "write \"" + docs + "\\letter.doc\" \"Dear Sam,\" \"See you Monday.\"\n"
         "create \"" + docs + "\\writer.ini\" \"[Options]\" \"Font=Arial\"\n"
         "ini \"" + docs + "\\writer.ini\" Options Font Courier\n"
         "set-value \"HKCU\\Software\\Retrace E2E\\Font\" sz Courier\n"
         "create \"" + docs + "\\old.doc\" \"old\"\n"
         "create \"" + docs + "\\trash.doc\" \"trash\"\n"
         "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
         "copy \"" + docs + "\\letter.doc\" \"" + docs + "\\Copies\\letter.doc\"\n"
         "move \"" + docs + "\\old.doc\" \"" + docs + "\\Archive\\old.doc\"\n"
         "delete \"" + docs + "\\letter.doc\"\n"
         "recycle \"" + docs + "\\trash.doc\"\n"
         "empty-recycle-bin\n");

    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));  // start-up's rebuild is done

    const std::string d = toLowerAscii(docs);
    std::vector<Expected> expected{
        {kindBootMarker, "", "first", 1, 0},
        {kindCreate, "writer", d + "\\letter.doc", 0, 0},
        {kindModify, "writer", d + "\\letter.doc", 0, 0},
        {kindCreate, "writer", d + "\\writer.ini", 1, 0},
        {kindModify, "writer", d + "\\writer.ini", 2, 0},
        {kindRegistryCreateKey, "writer", "", 1, 0},
        {kindRegistryNewValue, "writer", "", 1, 0},
        {kindCreate, "writer", d + "\\old.doc", 0, 0},
        {kindCreate, "writer", d + "\\trash.doc", 0, 0},
        {kindCopy, "explorer", d + "\\copies\\letter.doc", 0, 0},
        {kindMove, "explorer", d + "\\old.doc", 0, 0},
        {kindDelete, "explorer", d + "\\letter.doc", 0, 0},
        {kindRecycle, "explorer", d + "\\trash.doc", 0, 1},  // retired by the permanent delete below
        {kindDelete, "explorer", d + "\\trash.doc", 0, 0},
    };
    auto history = storedHistory();
    ASSERT_EQ(history.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(history[i].kind, expected[i].kind);
        EXPECT_STREQ(history[i].programName, expected[i].program);
        if (!expected[i].dataA.empty()) {
            EXPECT_EQ(history[i].dataA, expected[i].dataA);
        }
        EXPECT_EQ(history[i].isSetting() != 0, expected[i].isSetting != 0);
        EXPECT_EQ(history[i].undone(), expected[i].undone);
    }
    EXPECT_EQ(history[4].isIniFile(), 1);
    EXPECT_EQ(history[9].isExplorer(), 1);

    // The bin keeps the list and the copies the records name; the reports and
    // the copy behind Explorer's move (now one Move record) are gone.
    std::vector<std::string> named;
    for (const ActionRecord& record : history)
        if ((record.kind == kindModify || record.kind == kindDelete) && !record.dataC.empty())
            named.push_back(toLowerAscii(record.dataC));
    std::vector<std::string> kept;
    for (const std::string& name : filesIn(bin))
        if (!equalsIgnoreCase(name, "actionlist.000")) kept.push_back(toLowerAscii(bin + "\\" + name));
    std::sort(named.begin(), named.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, named);
    EXPECT_EQ(named.size(), 4u);  // two Modifies, two Deletes

    // More happens; a click folds it in after what is there.
    play("clock 2026-12-07 10:00:00\n"
         "program WRITER \"C:\\Apps\\writer.exe\" 301\n"
         "write \"" + docs + "\\Copies\\letter.doc\" \"Dear Sam,\" \"See you Tuesday.\"\n");
    ASSERT_TRUE(fileExists(bin + "\\filereport.000"));
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(waitUntil([] { return !fileExists(bin + "\\filereport.000"); }));
    ASSERT_TRUE(waitUntil([&] { return storedHistory().size() == expected.size() + 1; }));
    EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));
    history = storedHistory();
    EXPECT_EQ(history.back().kind, kindModify);
    EXPECT_EQ(history.back().processId, 301);
    EXPECT_EQ(history[12].undone(), 2);  // each rebuild adds one for the retiring delete
    EXPECT_TRUE(fileExists(history.back().dataC));
}

namespace {
// Holds a file open with no sharing, as another program might.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { release(); }
    void release() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

int countErrorBoxes() {
    int count = 0;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", "Error!"));) ++count;
    return count;
}

const char* const oneCreate = "clock 2026-12-07 09:00:00\n"
                              "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
                              "create \"C:\\Retrace E2E\\Docs\\note.doc\" \"note\"\n";
}  // namespace

TEST_F(Rebuild, AReportHeldByAnotherProgramIsKeptAndAClickDuringItsMessageStartsNothing) {
    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    play(oneCreate);
    HeldFile report(bin + "\\filereport.000");
    ASSERT_TRUE(report.held());

    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    HWND box = waitForWindow("#32770", "Error!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "Unable to open data file.");
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);  // delivered by the box's own loop
    Sleep(500);
    EXPECT_EQ(countErrorBoxes(), 1);
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    ASSERT_TRUE(waitUntil([] { return countErrorBoxes() == 0; }));
    EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));  // the click goes on to its menu
    EXPECT_TRUE(fileExists(bin + "\\filereport.000"));
    report.release();

    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(waitUntil([] { return !fileExists(bin + "\\filereport.000"); }));
    ASSERT_TRUE(waitUntil([] { return storedHistory().size() == 1; }));
    EXPECT_EQ(storedHistory()[0].dataA, "c:\\retrace e2e\\docs\\note.doc");
    EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));
}

TEST_F(Rebuild, AHistoryUnreadableAtStartIsNeitherSavedOverNorSweptAndItsReportsWait) {
    play(oneCreate);
    std::ofstream(bin + "\\actionlist.000", std::ios::binary) << "stored history";
    std::ofstream(bin + "\\orphan.sav", std::ios::binary) << "a saved copy the unread history may name";
    HeldFile list(bin + "\\actionlist.000");

    RetraceProcess retrace;
    HWND box = waitForWindow("#32770", "Error!", 30000);
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND mainWindow = waitForMainWindow();
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    list.release();

    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));
    EXPECT_EQ(contentOf(bin + "\\actionlist.000"), "stored history");
    EXPECT_TRUE(fileExists(bin + "\\orphan.sav"));
    EXPECT_TRUE(fileExists(bin + "\\filereport.000"));
}
