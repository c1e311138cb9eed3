// The Options sheet from the tray menu's command, driven from outside and
// checked in the registry and on disk.

#include "tests/e2e/recorded_history.h"

#include <shlobj.h>

#include <algorithm>
#include <fstream>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

Settings storedSettings() {
    Settings settings;
    loadSettings(settings);
    return settings;
}

bool holds(const std::vector<std::string>& texts, const std::string& text) {
    return std::ranges::any_of(texts, [&](const std::string& item) { return equalsIgnoreCase(item, text); });
}

// Two boot sessions of a program's documents, each with a saved copy.
class OptionsSheet : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        play("clock 2026-12-06 08:00:00\n"
             "boot FIRST\n"
             "program WRITER \"C:\\Apps\\writer.exe\" 300\n"
             "create \"" + docs + "\\old.doc\" old\n"
             "write \"" + docs + "\\old.doc\" older\n"
             "clock 2026-12-07 08:00:00\n"
             "boot SECOND\n"
             "program WRITER \"C:\\Apps\\writer.exe\" 301\n"
             "create \"" + docs + "\\new.doc\" new\n"
             "write \"" + docs + "\\new.doc\" newer\n");
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
    }
    // The sheet open on the page at that index.
    HWND openOn(int pageIndex) {
        sheet = openByCommand(mainWindow, IDM_OPTIONS, "Retrace Options");
        return sheet ? showSheetPage(sheet, pageIndex) : nullptr;
    }
    bool pressOk() {
        pressButton(sheet, IDOK);
        return waitForClose(sheet);
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
    HWND sheet = nullptr;
};

}  // namespace

TEST_F(OptionsSheet, TheSettingsPageStoresItsNumbersInBoundsAndLeavesTheOtherPagesValuesAlone) {
    struct {
        const char* entries;
        const char* mbytes;
        uint32_t menuSize;
        uint32_t binSize;
    } cases[] = {
        {"0", "0", 1, 1000000},
        {"25", "4295", 10, 4294000000u},  // 4,295 Mbytes would wrap to 32 Kbytes
        {"7", "12", 7, 12000000},
    };
    for (const auto& c : cases) {
        const auto before = settingsAsMap(storedSettings());
        HWND page = openOn(0);
        ASSERT_NE(page, nullptr);
        typeText(page, IDC_MENU_SIZE, c.entries);
        typeText(page, IDC_BIN_LIMIT, c.mbytes);
        ASSERT_TRUE(pressOk());
        const Settings after = storedSettings();
        EXPECT_EQ(after.UndoMenuSize, c.menuSize);
        EXPECT_EQ(after.UndoBinSize, c.binSize);
        auto rest = settingsAsMap(after);
        rest["UndoMenuSize"] = before.at("UndoMenuSize");
        rest["UndoBinSize"] = before.at("UndoBinSize");
        EXPECT_EQ(rest, before);
    }
}

TEST_F(OptionsSheet, TheUndoBinMovesOnlyToANewOrEmptyFolderAndChoosingItAgainCancelsTheMove) {
    const std::string newBin = "C:\\Retrace E2E\\New Bin";
    const std::string deepBin = "C:\\Retrace E2E\\Deep\\New Bin";  // the folders above it are made too
    struct {
        std::string typed;
        bool refused;
        std::string pending;
        std::string says = "";
    } steps[] = {
        {toUpperAscii(bin), false, ""},
        {"Q:\\Does Not Exist\\Undo Bin", true, "", "The folder Q:\\Does Not Exist\\Undo Bin cannot be made"},
        {deepBin, false, deepBin},
        {newBin, false, newBin},
        {docs, true, newBin},  // the documents would be swept away
        {"C:\\", true, newBin},
        {toLowerAscii(bin), false, ""},
    };
    for (const auto& step : steps) {
        HWND page = openOn(0);
        ASSERT_NE(page, nullptr);
        typeText(page, IDC_BIN_FOLDER, step.typed);
        MessageBoxAnswerer refusals("Undo Bin Folder");
        pressButton(sheet, IDOK);
        if (step.refused) {
            EXPECT_TRUE(waitUntil([&] { return refusals.texts().size() == 1; })) << step.typed;
            if (!refusals.texts().empty()) {
                EXPECT_NE(refusals.texts()[0].find(step.says), std::string::npos) << refusals.texts()[0];
            }
            EXPECT_TRUE(IsWindow(sheet));
            pressButton(sheet, IDCANCEL);
        }
        ASSERT_TRUE(waitForClose(sheet));
        EXPECT_TRUE(refusals.texts().empty() != step.refused) << step.typed;
        EXPECT_STREQ(storedSettings().UndoBinPathNew, step.pending.c_str()) << step.typed;
        EXPECT_STREQ(storedSettings().UndoBinPath, bin.c_str());
    }
    EXPECT_TRUE(folderExists(newBin));
    EXPECT_TRUE(folderExists(deepBin));
}

TEST_F(OptionsSheet, CancellingBrowsePutsTheStoredFolderBackOverTypedText) {
    HWND page = openOn(0);
    ASSERT_NE(page, nullptr);
    typeText(page, IDC_BIN_FOLDER, "C:\\Typed");
    pressButton(page, IDC_BIN_BROWSE);
    HWND browser = waitForDialog("Browse for Folder");
    ASSERT_NE(browser, nullptr);
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntil([&] { return controlText(page, IDC_BIN_FOLDER) == bin; }));
}

TEST_F(OptionsSheet, IgnoringFilesBelow250KbIsRefusedUntilOkAgainAndTheCustomListIsCutAtCommas) {
    HWND page = openOn(1);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(buttonChecked(page, IDC_IGNORE_LARGE));  // installed ignoring files over 10 Mbytes
    typeText(page, IDC_LARGE_FILE_SIZE, "100");
    pressButton(page, IDC_IGNORE_USER);
    typeText(page, IDC_IGNORE_USER_LIST, "bal, ppt,dbf");
    MessageBoxAnswerer warnings("Large File Size");
    pressButton(sheet, IDOK);
    ASSERT_TRUE(waitUntil([&] { return warnings.texts().size() == 1; }));
    EXPECT_EQ(warnings.texts()[0], "The smallest file that can be ignored is 250Kb.");
    EXPECT_TRUE(waitUntil([&] { return controlText(page, IDC_LARGE_FILE_SIZE) == "250"; }));
    EXPECT_TRUE(IsWindow(sheet));
    EXPECT_EQ(storedSettings().LargeFileSize, 10000000u);
    EXPECT_STREQ(storedSettings().szIgnoreUser, "");

    ASSERT_TRUE(pressOk());
    EXPECT_EQ(storedSettings().LargeFileSize, 250000u);
    EXPECT_EQ(storedSettings().IgnoreUser, 1u);
    EXPECT_STREQ(storedSettings().szIgnoreUser, "bal|ppt|dbf");

    page = openOn(1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(controlText(page, IDC_IGNORE_USER_LIST), "bal,ppt,dbf");
    pressButton(page, IDC_IGNORE_LARGE);
    ASSERT_TRUE(waitUntil([&] { return controlText(page, IDC_LARGE_FILE_SIZE) == "0"; }));
    ASSERT_TRUE(pressOk());
    EXPECT_EQ(storedSettings().LargeFileSize, 0u);
}

// The file dialog comes from a library loaded only when it is asked for.
TEST_F(OptionsSheet, AFileChosenInTheOpenDialogIsIgnored) {
    HWND page = openOn(2);
    ASSERT_NE(page, nullptr);
    const std::string chosen = docs + "\\new.doc";
    pressButton(page, IDC_ADD_FILES);
    HWND dialog = waitForDialog("Open");
    ASSERT_NE(dialog, nullptr);
    const int fileNameBox = 0x47c;  // the file dialog's own name field
    typeText(dialog, fileNameBox, chosen);
    pressButton(dialog, IDOK);
    ASSERT_TRUE(waitForClose(dialog));
    EXPECT_TRUE(holds(listBoxTexts(page, IDC_IGNORE_PATHS), chosen));
    ASSERT_TRUE(pressOk());
    EXPECT_TRUE(holds(splitList(storedSettings().szIgnorePaths), chosen)) << storedSettings().szIgnorePaths;
}

TEST_F(OptionsSheet, TheFileListStoresARemovedRegisteredTypeAndAnAddedOne) {
    // Wine's prefix has Notepad's text file type but no ".txt" naming it.
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, ".txt", REG_SZ, "txtfile", 7), ERROR_SUCCESS);
    struct Unregister {
        ~Unregister() { RegDeleteKeyA(HKEY_CLASSES_ROOT, ".txt"); }
    } unregister;
    HWND page = openOn(3);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(holds(listBoxTexts(page, IDC_FILE_TYPES), "txt"));
    selectListBoxText(page, IDC_FILE_TYPES, "txt");
    pressButton(page, IDC_REMOVE_TYPE);
    typeText(page, IDC_FILE_TYPE, "abc");
    pressButton(page, IDC_ADD_TYPE);
    ASSERT_TRUE(waitUntil([&] {
        auto types = listBoxTexts(page, IDC_FILE_TYPES);
        return holds(types, "abc") && !holds(types, "txt");
    }));
    ASSERT_TRUE(pressOk());
    EXPECT_TRUE(inNameList(storedSettings().szSettingExts, "txt")) << storedSettings().szSettingExts;
    EXPECT_TRUE(inNameList(storedSettings().szFileExts, "abc")) << storedSettings().szFileExts;

    page = openOn(3);
    ASSERT_NE(page, nullptr);
    auto types = listBoxTexts(page, IDC_FILE_TYPES);
    EXPECT_TRUE(holds(types, "abc"));
    EXPECT_FALSE(holds(types, "txt"));
}

TEST_F(OptionsSheet, LoadProgramAtStartupWritesAndRemovesTheShortcutInTheShellsStartupFolder) {
    char folder[MAX_PATH] = "";
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
    const std::string shortcut = std::string(folder) + "\\retrace.lnk";
    DeleteFileA(shortcut.c_str());
    for (bool load : {true, false}) {
        HWND page = openOn(0);
        ASSERT_NE(page, nullptr);
        pressButton(page, IDC_LOAD_AT_STARTUP);
        ASSERT_TRUE(waitUntil([&] { return buttonChecked(page, IDC_LOAD_AT_STARTUP) == load; }));
        ASSERT_TRUE(pressOk());
        EXPECT_EQ(storedSettings().LoadAtStartup, uint32_t(load));
        EXPECT_EQ(fileExists(shortcut), load);
    }
}

TEST_F(OptionsSheet, ClearingTheUndoBinKeepsTheCurrentBootSessionOnDiskAndShowsTheNewSize) {
    ASSERT_TRUE(waitUntil([] { return storedHistory().size() == 6; }));
    auto savedCopyOf = [](const std::string& name) {
        for (const ActionRecord& record : storedHistory())
            if (record.kind == kindModify && record.dataA == toLowerAscii(docs) + "\\" + name) return std::string(record.dataC);
        return std::string();
    };
    const std::string oldCopy = savedCopyOf("old.doc"), newCopy = savedCopyOf("new.doc");
    ASSERT_TRUE(fileExists(oldCopy));
    // Two Mbytes more in the first session's copy, so the size shown changes.
    std::ofstream(oldCopy, std::ios::app) << std::string(2000000, 'x');

    HWND page = openOn(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(controlText(page, IDC_BIN_USED), "2");
    auto answered = answerMessageBoxLater("Empty Undo Bin", IDYES);
    pressButton(page, IDC_BIN_CLEAR);
    ASSERT_TRUE(answered.get());
    EXPECT_TRUE(waitUntil([&] { return controlText(page, IDC_BIN_USED) == "< 1"; }));
    std::vector<ActionRecord> history = storedHistory();
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].dataA, "second");
    EXPECT_FALSE(fileExists(oldCopy));
    EXPECT_TRUE(fileExists(newCopy));
    pressButton(sheet, IDCANCEL);
    EXPECT_TRUE(waitForClose(sheet));
}

TEST_F(OptionsSheet, ASaveTheRegistryRefusesIsToldAndNothingThatGoesWithItIsDone) {
    char folder[MAX_PATH] = "";
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
    const std::string shortcut = std::string(folder) + "\\retrace.lnk", newBin = "C:\\Retrace E2E\\New Bin";
    DeleteFileA(shortcut.c_str());
    const auto before = settingsAsMap(storedSettings());
    ReadOnlySettingsKey readOnly;
    MessageBoxAnswerer refusals("Settings Not Saved");

    HWND page = openOn(0);
    ASSERT_NE(page, nullptr);
    pressButton(page, IDC_LOAD_AT_STARTUP);
    typeText(page, IDC_BIN_FOLDER, newBin);
    ASSERT_TRUE(waitUntil([&] { return buttonChecked(page, IDC_LOAD_AT_STARTUP); }));
    pressButton(sheet, IDOK);
    ASSERT_TRUE(waitUntil([&] { return refusals.texts().size() == 1; }));
    EXPECT_TRUE(refusals.texts()[0].starts_with("Windows refused to let Retrace write its settings"));
    EXPECT_TRUE(IsWindow(sheet));  // still open on what the user asked for
    pressButton(sheet, IDCANCEL);
    ASSERT_TRUE(waitForClose(sheet));

    // Disable, from the menu: the icon keeps telling that monitoring is on.
    PostMessageA(mainWindow, WM_COMMAND, IDM_TOGGLE_MONITORING, 0);
    ASSERT_TRUE(waitUntil([&] { return refusals.texts().size() == 2; }));
    EXPECT_EQ(trayPicture(), TrayPicture::MonitoringOn);

    EXPECT_EQ(settingsAsMap(storedSettings()), before);
    EXPECT_FALSE(fileExists(shortcut));
    EXPECT_FALSE(folderExists(newBin));
}
