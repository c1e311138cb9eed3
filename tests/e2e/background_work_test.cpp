// What a tray click leaves to finish in the background (the save, the
// reports' deletion, the sweep of the Undo Bin) is on disk before the
// program ends, and leaves what it left when the menu waited for it.

#include "tests/e2e/recorded_history.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

using BackgroundWork = RecordedHistoryTest;

void copyFiles(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    for (const std::string& name : filesIn(from))
        CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
}

void emptyBin() {
    for (const std::string& name : filesIn(bin)) DeleteFileA((bin + "\\" + name).c_str());
}

void setUndoBinSize(uint32_t size) {
    Settings settings;
    loadSettings(settings);
    settings.UndoBinSize = size;
    saveSettings(settings);
}

// Every file of the bin with its content.
std::map<std::string, std::string> binContents() {
    std::map<std::string, std::string> contents;
    for (const std::string& name : filesIn(bin)) contents[toLowerAscii(name)] = contentOf(bin + "\\" + name);
    return contents;
}

const std::string session = "clock 2026-12-07 09:00:00\n"
                            "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
                            "create \"" + docs + "\\letter.doc\" \"Dear Sam,\"\n"
                            "write \"" + docs + "\\letter.doc\" \"Dear Sam,\" \"See you Monday.\"\n";

}  // namespace

TEST_F(BackgroundWork, AClickFollowedAtOnceByUnloadLeavesTheWholeNewHistoryOnDisk) {
    // A long stored history, so the save takes a while.
    ActionRecord old;
    setFieldText(old.programName, "OLD");
    old.programPath = "c:\\apps\\old.exe";
    old.processId = 7;
    old.kind = kindCreate;
    old.source = sourceFileReport;
    old.dataA = "c:\\retrace e2e\\docs\\" + std::string(200, 'x') + ".doc";
    std::vector<ActionRecord> stored(300'000, old);
    std::ofstream(bin + "\\actionlist.000", std::ios::binary) << serializeActionList(stored);

    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }, 60000));
    play(session);

    // What "UNLOAD" sends, right behind the click: it arrives while the
    // menu shows and the new list is being saved.
    PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(retrace.waitForExit(60000), 0u);

    std::vector<ActionRecord> history = storedHistory();
    ASSERT_EQ(history.size(), stored.size() + 2);
    EXPECT_EQ(history[stored.size()].kind, kindCreate);
    EXPECT_EQ(history.back().kind, kindModify);
    EXPECT_TRUE(fileExists(history.back().dataC));
    EXPECT_FALSE(fileExists(bin + "\\filereport.000"));
    EXPECT_FALSE(fileExists(bin + "\\actionlist.000.new"));
}

TEST_F(BackgroundWork, AFileDroppedIntoTheBinByHandIsGoneAfterTheNextStart) {
    play(session);
    {
        RetraceProcess retrace;
        HWND mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
        unloadRunningRetrace();
    }
    std::ofstream(bin + "\\dropped.txt") << "put here by hand";
    std::ofstream(bin + "\\BACKUP notes.txt") << "kept by name";
    CreateDirectoryA((bin + "\\Kept Folder").c_str(), nullptr);

    RetraceProcess retrace;
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    ASSERT_TRUE(waitUntilIdle(mainWindow));
    EXPECT_FALSE(fileExists(bin + "\\dropped.txt"));
    EXPECT_TRUE(fileExists(bin + "\\BACKUP notes.txt"));
    EXPECT_TRUE(folderExists(bin + "\\Kept Folder"));
    std::vector<ActionRecord> history = storedHistory();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_TRUE(fileExists(history.back().dataC));
    RemoveDirectoryA((bin + "\\Kept Folder").c_str());
}

TEST_F(BackgroundWork, TwoClicksInQuickSuccessionLeaveWhatTwoSlowClicksLeave) {
    // Every rebuild keeps only the current boot session, so the clicks drop
    // records and saved copies as well as sweep.
    setUndoBinSize(0);
    play("clock 2026-12-06 08:00:00\n"
         "boot FIRST\n" + session);
    {
        RetraceProcess retrace;
        HWND mainWindow = waitForMainWindow();
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
        unloadRunningRetrace();
    }
    const std::string base = "C:\\Retrace E2E\\Base", fresh = "C:\\Retrace E2E\\Fresh";
    copyFiles(bin, base);

    // What the monitors record before the clicks, kept aside so both runs
    // find the same files.
    play("clock 2026-12-07 08:00:00\n"
         "boot SECOND\n"
         "program explorer \"C:\\Windows\\explorer.exe\" 88\n"
         "create \"" + docs + "\\trash.doc\" \"trash\"\n"
         "move \"" + docs + "\\letter.doc\" \"" + docs + "\\Archive\\letter.doc\"\n"
         "recycle \"" + docs + "\\trash.doc\"\n"
         "empty-recycle-bin\n");
    std::ofstream(bin + "\\dropped.txt") << "put here by hand";
    const std::map<std::string, std::string> before = binContents();
    CreateDirectoryA(fresh.c_str(), nullptr);
    for (const std::string& name : filesIn(bin))
        if (!fileExists(base + "\\" + name)) MoveFileA((bin + "\\" + name).c_str(), (fresh + "\\" + name).c_str());

    auto run = [&](bool quick) {
        emptyBin();
        copyFiles(base, bin);
        RetraceProcess retrace;
        HWND mainWindow = waitForMainWindow();
        EXPECT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
        EXPECT_TRUE(waitUntilIdle(mainWindow));
        copyFiles(fresh, bin);
        for (int click = 0; click < 2; ++click) {
            PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
            EXPECT_TRUE(closeMenuOnceShown(retrace.processId()));
            if (!quick) {
                EXPECT_TRUE(waitUntilIdle(mainWindow));
            }
        }
        EXPECT_TRUE(waitUntilIdle(mainWindow));
        std::map<std::string, std::string> after = binContents();
        unloadRunningRetrace();
        return after;
    };
    const std::map<std::string, std::string> slow = run(false);
    const std::map<std::string, std::string> quick = run(true);
    EXPECT_EQ(quick, slow);

    // The clicks did their work: the first boot session and its copy went,
    // the hand-dropped file and the copy behind Explorer's move were swept,
    // and the retired Recycle counted both clicks.
    std::vector<ActionRecord> history = storedHistory();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history[0].dataA, "second");
    auto recycle = std::ranges::find(history, kindRecycle, &ActionRecord::kind);
    ASSERT_NE(recycle, history.end());
    EXPECT_EQ(recycle->undone(), 2);  // one for each click
    EXPECT_FALSE(quick.contains("dropped.txt"));
    EXPECT_LT(quick.size(), before.size());
    for (const auto& [name, content] : quick) {
        if (name == "actionlist.000") continue;
        EXPECT_TRUE(std::ranges::any_of(history, [&](const ActionRecord& r) {
                return toLowerAscii(r.dataC) == toLowerAscii(bin + "\\" + name);
            })) << name;
    }
}
