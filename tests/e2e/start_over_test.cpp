// Start Over from the tray: the dialog's three lists of points and the undo
// of everything since a boot, with its system files and the restart. The
// restart ends every program of the Wine prefix, so these tests run in a
// prefix of their own.

#include "tests/e2e/recorded_history.h"

#include <algorithm>
#include <array>

#include "monitor/start_over_set.h"
#include "res/resource.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const char writerKey[] = "Software\\Retrace E2E\\Writer";
const std::string letter = docs + "\\a.doc";

std::string windowsFolder() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

// Where each file of the Start Over set lives, and where its earlier version comes back.
struct SystemFile {
    std::string live;
    std::string restored;
};
std::vector<SystemFile> systemFiles() {
    std::vector<SystemFile> files;
    for (const StartOverFile& file : startOverSet) {
        std::string live = file.inWindowsFolder ? windowsFolder() + "\\" + file.file : file.file;
        size_t dot = live.rfind('.');
        files.push_back({live, live.substr(0, dot) + ".undo" + live.substr(dot)});
    }
    return files;
}

// Two boots: at 0:10 the writer makes a letter; at 12:40 a second run of it
// rewrites the letter and sets its zoom; at 15:59 the machine boots again
// and a sheet program rewrites the letter and makes a second file. Every
// system file of the set holds "before" at the first boot.
class StartOver : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, writerKey);
        for (const SystemFile& file : systemFiles()) {
            DeleteFileA(file.restored.c_str());
            originals.push_back(bytesOf(file.live));
            if (!originals.back()) putFile(file.live, "made for the test");
        }
        play("clock 2026-12-07 00:10:00\n"
             "boot BOOT1\n"
             "program WRITER \"C:\\Apps\\writer.exe\" 301\n"
             "create \"" + letter + "\" one\n"
             "clock 2026-12-07 12:40:00\n"
             "program WRITER \"C:\\Apps\\writer.exe\" 302\n"
             "write \"" + letter + "\" two\n"
             "set-value \"HKCU\\" + writerKey + "\\Zoom\" dword 150\n"
             "clock 2026-12-07 15:59:00\n"
             "boot BOOT2\n"
             "program SHEET \"C:\\Apps\\sheet.exe\" 400\n"
             "write \"" + letter + "\" three\n"
             "create \"" + docs + "\\b.doc\" bee\n");
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        dialog = openByCommand(mainWindow, IDM_START_OVER, "Start Over");
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        auto files = systemFiles();
        for (size_t k = 0; k < files.size() && k < originals.size(); ++k) {
            DeleteFileA(files[k].restored.c_str());
            if (originals[k]) putFile(files[k].live, *originals[k]);
            else DeleteFileA(files[k].live.c_str());
        }
        RecordedHistoryTest::TearDown();
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
    HWND dialog = nullptr;
    std::vector<std::optional<std::string>> originals;  // the system files as the test found them
};

}  // namespace

TEST_F(StartOver, ListsEveryPointNewestFirstAndAChoiceClearsTheOtherListsButNoLeavesAllAsItWas) {
    EXPECT_EQ(comboBoxTexts(dialog, IDC_HOUR_POINTS),
              (std::vector<std::string>{"12/07/26 03:00:00 PM", "12/07/26 12:00:00 PM", "12/07/26 12:00:00 AM"}));
    EXPECT_EQ(comboBoxTexts(dialog, IDC_PROGRAM_POINTS),
              (std::vector<std::string>{"sheet 12/07/26 03:59:02 PM", "writer 12/07/26 12:40:00 PM",
                                        "writer 12/07/26 12:10:02 AM"}));
    EXPECT_EQ(comboBoxTexts(dialog, IDC_BOOT_POINTS),
              (std::vector<std::string>{"12/07/26 03:59:00 PM", "12/07/26 12:10:00 AM"}));
    EXPECT_FALSE(controlEnabled(dialog, IDC_START_OVER_RETRACE));

    const std::array<std::pair<int, int>, 3> choices{
        {{IDC_HOUR_POINTS, IDC_FROM_HOUR}, {IDC_BOOT_POINTS, IDC_FROM_BOOT}, {IDC_PROGRAM_POINTS, IDC_FROM_PROGRAM_START}}};
    for (auto [combo, radio] : choices) {
        chooseComboBoxEntry(dialog, combo, 1);
        EXPECT_TRUE(waitUntil([&] { return buttonChecked(dialog, radio); })) << combo;
        for (auto [other, otherRadio] : choices) {
            if (other == combo) continue;
            EXPECT_EQ(comboBoxChoice(dialog, other), -1) << combo << " cleared " << other;
            EXPECT_EQ(controlText(dialog, other), "") << combo << " cleared " << other;
            EXPECT_FALSE(buttonChecked(dialog, otherRadio)) << combo << " unchecked " << otherRadio;
        }
    }
    EXPECT_TRUE(controlEnabled(dialog, IDC_START_OVER_RETRACE));

    pressButton(dialog, IDC_START_OVER_RETRACE);
    HWND question = waitForMessageBoxOf(dialog);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(windowText(question), "Start Over");
    EXPECT_EQ(messageBoxText(question),
              "Start Over will restore all possible files to the way they were. The system will then restart.\n\n"
              "Are you sure you want to continue?");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(waitForClose(question));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(contentOf(letter), "three\r\n");
    EXPECT_FALSE(exists(docs + "\\a.undo.doc"));
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitForClose(dialog));
    EXPECT_TRUE(waitUntilIdle(mainWindow));
    auto history = storedHistory();
    EXPECT_TRUE(std::none_of(history.begin(), history.end(), [](const ActionRecord& r) { return r.undone(); }));
}

TEST_F(StartOver, RetraceCannotBeConfirmedWithoutAPointAndTheListsTakeNoTypedText) {
    for (int combo : {IDC_HOUR_POINTS, IDC_PROGRAM_POINTS, IDC_BOOT_POINTS})
        EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, combo), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << combo;
    chooseComboBoxEntry(dialog, IDC_HOUR_POINTS, 0);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(dialog, IDC_START_OVER_RETRACE); }));

    // The boot list has no entry chosen: its radio button leaves nothing to start over from.
    pressButton(dialog, IDC_FROM_BOOT);
    EXPECT_TRUE(waitUntil([&] { return !controlEnabled(dialog, IDC_START_OVER_RETRACE); }));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // Enter
    EXPECT_EQ(waitForMessageBoxOf(dialog, 2000), nullptr) << "no question without a point";

    pressButton(dialog, IDC_FROM_HOUR);  // the hour is still chosen
    EXPECT_TRUE(waitUntil([&] { return controlEnabled(dialog, IDC_START_OVER_RETRACE); }));
    pressButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitForClose(dialog));
}

TEST_F(StartOver, FromTheFirstBootUndoesEverythingNewestFirstBringsBackTheSystemFilesAndRestarts) {
    for (const SystemFile& file : systemFiles()) putFile(file.live, "changed since the boot");

    chooseComboBoxEntry(dialog, IDC_BOOT_POINTS, 1);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(dialog, IDC_START_OVER_RETRACE); }));
    // A boot marker in the range is a point in time, nothing to take back
    // and no failure.
    MessageBoxAnswerer undoErrors("Undo Error");
    ChildProcess otherProgram(MENU_PROBE_TARGET_EXE, "");
    pressButton(dialog, IDC_START_OVER_RETRACE);
    HWND question = waitForMessageBoxOf(dialog);
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);

    // The restart ends every program of the prefix, Retrace too.
    EXPECT_NE(retrace->waitForExit(60000), STILL_ACTIVE);
    EXPECT_NE(otherProgram.waitForExit(60000), STILL_ACTIVE);
    EXPECT_TRUE(undoErrors.texts().empty());

    // Newest first: the sheet's rewrite comes back first, under the first free name.
    EXPECT_EQ(contentOf(docs + "\\a.undo.doc"), "two\r\n");
    EXPECT_EQ(contentOf(docs + "\\a.undo.undo.doc"), "one\r\n");
    EXPECT_FALSE(exists(letter));
    EXPECT_FALSE(exists(docs + "\\b.doc"));
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, writerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    auto history = storedHistory();
    ASSERT_EQ(history.size(), 8u);
    EXPECT_TRUE(std::all_of(history.begin(), history.end(), [](const ActionRecord& r) { return r.undone(); }));

    auto files = systemFiles();
    for (size_t k = 0; k < files.size(); ++k) {
        EXPECT_EQ(contentOf(files[k].live), "changed since the boot") << files[k].live;
        EXPECT_EQ(bytesOf(files[k].restored), originals[k].value_or("made for the test")) << files[k].restored;
    }
}
