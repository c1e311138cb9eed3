// A long day recorded by the monitor stand-in, then used as a person would:
// the tray click that trims the bin, an undo and its redo, a restart of
// Retrace, and Start Over with Windows' restart. After every step the stored
// history, the Undo Bin, the registry and the files must agree. The restart
// ends every program of the prefix, so this runs in the Start Over prefix.

#include "tests/e2e/recorded_history.h"

#include <algorithm>
#include <set>

#include "base/file_operations_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const char writerKey[] = "Software\\Retrace E2E\\Writer";
const std::string ini = docs + "\\writer.ini";
constexpr uint32_t binLimit = 1000000;

std::string numbered(const std::string& folder, int i) {
    return docs + "\\" + folder + "\\d" + (i < 10 ? "0" : "") + std::to_string(i) + ".doc";
}

// Text that compresses little, so the dawn's saved copies outgrow the bin.
std::string noise(int seed, size_t length) {
    std::string text;
    uint32_t state = uint32_t(seed) * 2654435761u + 1;
    while (text.size() < length) {
        state = state * 1664525u + 1013904223u;
        text += "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[(state >> 16) % 62];
    }
    return text;
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// Dawn: a boot, and ten large documents rewritten (1.5 MB of saved copies,
// more than the bin may hold). Morning: a boot; the writer drafts sixty
// documents, revises thirty and sets its zoom in the registry and its
// settings file; a sheet program makes forty files and deletes ten;
// Explorer copies ten drafts, recycles five, empties the Recycle Bin and
// files thirty drafts away. Noon: a boot; the writer revises a draft and
// sets its zoom again, the sheet program makes one more file.
std::string dayScript() {
    std::string s = "clock 2026-12-07 06:00:00\nboot DAWN\nprogram WRITER \"C:\\Apps\\writer.exe\" 101\n";
    for (int i = 0; i < 10; ++i) s += "create " + quoted(numbered("Old", i)) + " " + noise(i, 150000) + "\n";
    for (int i = 0; i < 10; ++i) s += "write " + quoted(numbered("Old", i)) + " small\n";
    s += "clock 2026-12-07 08:00:00\nboot MORNING\nprogram WRITER \"C:\\Apps\\writer.exe\" 102\n";
    for (int i = 0; i < 60; ++i) s += "create " + quoted(numbered("Drafts", i)) + " \"draft " + std::to_string(i) + "\"\n";
    for (int i = 0; i < 30; ++i) s += "write " + quoted(numbered("Drafts", i)) + " \"revised " + std::to_string(i) + "\"\n";
    s += "ini " + quoted(ini) + " View Zoom 110\n"
         "set-value \"HKCU\\" + std::string(writerKey) + "\\Zoom\" dword 110\n"
         "program SHEET \"C:\\Apps\\sheet.exe\" 200\n";
    for (int i = 0; i < 40; ++i) s += "create " + quoted(numbered("Sheets", i)) + " \"sheet " + std::to_string(i) + "\"\n";
    for (int i = 30; i < 40; ++i) s += "delete " + quoted(numbered("Sheets", i)) + "\n";
    s += "program explorer \"C:\\Windows\\explorer.exe\" 88\n";
    for (int i = 40; i < 50; ++i) s += "copy " + quoted(numbered("Drafts", i)) + " " + quoted(numbered("Backup", i)) + "\n";
    for (int i = 50; i < 55; ++i) s += "recycle " + quoted(numbered("Drafts", i)) + "\n";
    s += "empty-recycle-bin\n";
    for (int i = 0; i < 30; ++i) s += "move " + quoted(numbered("Drafts", i)) + " " + quoted(numbered("Filed", i)) + "\n";
    s += "clock 2026-12-07 13:00:00\nboot NOON\nprogram WRITER \"C:\\Apps\\writer.exe\" 103\n"
         "write " + quoted(numbered("Drafts", 35)) + " \"after noon\"\n"
         "ini " + quoted(ini) + " View Zoom 130\n"
         "set-value \"HKCU\\" + std::string(writerKey) + "\\Zoom\" dword 130\n"
         "program SHEET \"C:\\Apps\\sheet.exe\" 201\n"
         "create " + quoted(docs + "\\Sheets\\noon.doc") + " noon\n";
    return s;
}

class DayInTheLife : public RecordedHistoryTest {
protected:
    void SetUp() override {
        RecordedHistoryTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, writerKey);
        Settings settings;
        loadSettings(settings);
        settings.UndoBinSize = binLimit;
        saveSettings(settings);
        play(dayScript());
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, writerKey);
        RecordedHistoryTest::TearDown();
    }
    void start() {
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }, 30000));
    }
    // A click on the icon and the menu item, as a person chooses it.
    void choose(unsigned item) {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        ASSERT_TRUE(chooseMenuItem(retrace->processId(), item));
    }
    void clickAndClose() {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        ASSERT_TRUE(closeMenuOnceShown(retrace->processId()));
        ASSERT_TRUE(waitUntilIdle(mainWindow));
    }
    DWORD zoomInRegistry() const {
        DWORD zoom = 0, size = sizeof zoom;
        RegGetValueA(HKEY_CURRENT_USER, writerKey, "Zoom", RRF_RT_REG_DWORD, nullptr, &zoom, &size);
        return zoom;
    }
    static UINT zoomInFile() { return GetPrivateProfileIntA("View", "Zoom", 0, ini.c_str()); }
    static size_t filesInFolder(const std::string& name) { return filesIn(docs + "\\" + name).size(); }
    static size_t countOf(const std::vector<ActionRecord>& history, int32_t kind, bool undone) {
        return size_t(std::count_if(history.begin(), history.end(),
                                    [&](const ActionRecord& r) { return r.kind == kind && bool(r.undone()) == undone; }));
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

// The bin holds the saved copy of every live Delete and Modify, and after a
// rebuild nothing that no record names, and no more than its limit allows.
void expectBinAgreesWith(const std::vector<ActionRecord>& history, bool rebuilt) {
    std::set<std::string> named;
    for (const ActionRecord& r : history) {
        if (r.source != sourceFileReport || r.dataC.empty()) continue;
        named.insert(toLowerAscii(r.dataC));
        if (!r.undone() && (r.kind == kindDelete || r.kind == kindModify)) {
            EXPECT_TRUE(fileExists(r.dataC)) << "the saved copy of " << r.dataA;
        }
    }
    if (!rebuilt) return;
    uint64_t size = 0;
    for (const std::string& name : filesIn(bin)) {
        std::string path = bin + "\\" + name;
        size += bytesOf(path).value_or("").size();
        if (toLowerAscii(name) != "actionlist.000") {
            EXPECT_TRUE(named.count(toLowerAscii(path))) << name << " named by no record";
        }
    }
    EXPECT_LE(size, binLimit);
}

}  // namespace

TEST_F(DayInTheLife, ClickUndoRedoRestartAndStartOverKeepHistoryBinRegistryAndFilesInAgreement) {
    // The first click trims the dawn, whose copies outgrow the bin; the morning stays whole.
    start();
    clickAndClose();
    auto history = storedHistory();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.front().dataA, "morning");
    EXPECT_TRUE(std::none_of(history.begin(), history.end(), [](const ActionRecord& r) {
        return r.dataA.find("\\old\\") != std::string::npos;
    }));
    EXPECT_EQ(countOf(history, kindCreate, false), 60u + 1u + 40u + 1u);  // the settings file was new
    EXPECT_EQ(countOf(history, kindMove, false), 30u);
    EXPECT_EQ(countOf(history, kindBootMarker, false), 2u);
    expectBinAgreesWith(history, true);

    // Undo of Explorer's filing of thirty drafts, the third newest file action.
    choose(IDM_FILE_FIRST + 2);
    HWND confirm = waitForDialog("Confirm Undo of Move by Explorer");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(DialogList(confirm, IDC_CONFIRMATION_LIST).rowCount(), 30);
    pressButton(confirm, IDOK);
    ASSERT_TRUE(waitForClose(confirm, 60000));
    ASSERT_TRUE(waitUntil([&] { return countOf(storedHistory(), kindMove, true) == 30; }, 30000));
    EXPECT_EQ(filesInFolder("Filed"), 0u);
    EXPECT_EQ(contentOf(numbered("Drafts", 7)), "revised 7\r\n");
    expectBinAgreesWith(storedHistory(), false);

    // Redo files them away again, as thirty new records at the end.
    choose(IDM_REDO);
    ASSERT_TRUE(waitUntil([&] { return countOf(storedHistory(), kindMove, false) == 30; }, 30000));
    EXPECT_EQ(filesInFolder("Filed"), 30u);
    EXPECT_FALSE(fileExists(numbered("Drafts", 7)));

    // A new start forgets the undone records and sweeps what only they named.
    unloadRunningRetrace();
    const size_t liveBefore = size_t(std::count_if(history.begin(), history.end(), [](auto& r) { return !r.undone(); }));
    start();
    clickAndClose();
    history = storedHistory();
    EXPECT_EQ(history.size(), liveBefore);
    EXPECT_EQ(countOf(history, kindMove, true), 0u);
    expectBinAgreesWith(history, true);

    // Start Over from the writer's run after noon: that run, the sheet's
    // file and the redone filing are undone newest first; the morning stays.
    choose(IDM_START_OVER);
    HWND startOver = waitForDialog("Start Over");
    ASSERT_NE(startOver, nullptr);
    const std::vector<std::string> starts = comboBoxTexts(startOver, IDC_PROGRAM_POINTS);
    ASSERT_GE(starts.size(), 2u);
    EXPECT_EQ(starts[1], "writer 12/07/26 01:00:02 PM");
    chooseComboBoxEntry(startOver, IDC_PROGRAM_POINTS, 1);
    ASSERT_TRUE(waitUntil([&] { return controlEnabled(startOver, IDC_START_OVER_RETRACE); }));
    pressButton(startOver, IDC_START_OVER_RETRACE);
    HWND question = waitForMessageBoxOf(startOver);
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    EXPECT_NE(retrace->waitForExit(120000), STILL_ACTIVE) << "the restart ends Retrace";

    EXPECT_EQ(zoomInRegistry(), 110u);
    EXPECT_EQ(zoomInFile(), 110u);
    EXPECT_FALSE(fileExists(docs + "\\Sheets\\noon.doc"));
    EXPECT_EQ(contentOf(numbered("Drafts", 35)), "after noon\r\n");
    EXPECT_EQ(contentOf(docs + "\\Drafts\\d35.undo.doc"), "draft 35\r\n");
    EXPECT_EQ(filesInFolder("Filed"), 0u);
    EXPECT_EQ(filesInFolder("Sheets"), 30u);
    history = storedHistory();
    auto noon = std::find_if(history.begin(), history.end(), [](auto& r) { return r.dataA == "noon"; });
    ASSERT_NE(noon, history.end());
    EXPECT_FALSE(noon->undone());
    EXPECT_TRUE(std::all_of(noon + 1, history.end(), [](auto& r) { return r.undone(); }));
    EXPECT_TRUE(std::none_of(history.begin(), noon, [](auto& r) { return r.undone(); }));

    // After the restart Retrace starts with the morning and the noon marker.
    start();
    clickAndClose();
    history = storedHistory();
    EXPECT_EQ(history.back().dataA, "noon");
    expectBinAgreesWith(history, true);
}
