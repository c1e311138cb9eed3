// What Retrace does with a folder named as the Undo Bin that is not one, and
// with records that name saved copies outside the bin: checked on disk.

#include "tests/e2e/recorded_history.h"

#include "base/file_operations_win32.h"
#include "database/action_list.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

class UndoBinFolder : public RecordedHistoryTest {
protected:
    static void setBin(const std::string& folder, uint32_t limit) {
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.UndoBinPath, folder);
        settings.UndoBinSize = limit;
        saveSettings(settings);
    }
    void start() {
        retrace.emplace();
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    }
    void clickAndUnload() {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
        EXPECT_TRUE(waitUntilIdle(mainWindow));
        EXPECT_EQ(RetraceProcess("UNLOAD").waitForExit(), 0u);
        EXPECT_EQ(retrace->waitForExit(), 0u);
    }
    std::optional<RetraceProcess> retrace;
    HWND mainWindow = nullptr;
};

}  // namespace

TEST_F(UndoBinFolder, ADocumentsFolderNamedAsTheBinKeepsEveryFileAndRetraceSaysSoOnce) {
    const std::string work = docs + "\\Work";
    putFile(work + "\\thesis.doc", "chapter one");
    putFile(work + "\\notes.txt", "read this");
    setBin(work, 0);
    MessageBoxAnswerer told("Undo Bin");
    start();
    clickAndUnload();

    EXPECT_EQ(contentOf(work + "\\thesis.doc"), "chapter one");
    EXPECT_EQ(contentOf(work + "\\notes.txt"), "read this");
    for (const char* made : {"actionlist.000", "actionlist.000.new", "Redo", "Staging", "SO"})
        EXPECT_FALSE(exists(work + "\\" + made)) << made;
    ASSERT_EQ(told.texts().size(), 1u);
    EXPECT_NE(told.texts()[0].find(work), std::string::npos) << told.texts()[0];
    EXPECT_NE(told.texts()[0].find("Settings page of the Options sheet"), std::string::npos) << told.texts()[0];
}

// Two boot sessions, each with a Modify whose record is then made to name a
// file outside the bin as its saved copy. Over its limit, the bin drops the
// older session without touching those files; undoing the newer Modify says
// that its earlier version is not available and reads nothing.
TEST_F(UndoBinFolder, RecordsNamingCopiesOutsideTheBinNeitherDeleteNorBringBackThoseFiles) {
    play("clock 2026-12-07 09:00:00\nboot\nprogram WRITER \"C:\\Apps\\writer.exe\" 300\n"
         "create \"" + docs + "\\old.doc\" one\nwrite \"" + docs + "\\old.doc\" two\n"
         "create \"" + docs + "\\older.doc\" one\nwrite \"" + docs + "\\older.doc\" two\n"
         "boot\nprogram WRITER \"C:\\Apps\\writer.exe\" 300\n"
         "create \"" + docs + "\\report.doc\" first\nwrite \"" + docs + "\\report.doc\" second\n");
    start();
    clickAndUnload();

    const std::string outside[] = {"C:\\Retrace E2E\\marker.txt", bin + "\\..\\marker2.txt",
                                   "C:\\Retrace E2E\\marker3.txt"};
    for (const std::string& marker : outside) putFile(marker, "a person's own file");
    std::vector<ActionRecord> history = storedHistory();
    size_t named = 0;
    for (ActionRecord& record : history)
        if (record.kind == kindModify && named < std::size(outside)) record.dataC = outside[named++];
    ASSERT_EQ(named, 3u);
    putFile(bin + "\\actionlist.000", serializeActionList(history));
    setBin(bin, 0);

    size_t lastBoot = history.size();
    while (lastBoot > 0 && !history[lastBoot - 1].isBootMarker()) --lastBoot;
    ASSERT_GT(lastBoot, 1u);
    const std::vector<ActionRecord> current(history.begin() + ptrdiff_t(lastBoot - 1), history.end());

    start();
    ASSERT_TRUE(waitUntil([&] { return storedHistory().size() == current.size(); }));
    EXPECT_EQ(storedHistory().back().dataC, outside[2]);
    {
        MessageBoxAnswerer errors("Undo Error");
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        ASSERT_TRUE(chooseMenuItem(retrace->processId(), IDM_FILE_FIRST));
        HWND confirm = waitForDialog("Confirm Undo");
        ASSERT_NE(confirm, nullptr);
        pressButton(confirm, IDOK);
        ASSERT_TRUE(waitForClose(confirm));
        ASSERT_TRUE(waitUntil([&] { return !errors.texts().empty(); }));
        EXPECT_EQ(errors.texts(),
                  (std::vector<std::string>{"Unable to Undo the file. Its earlier version is not available."}));
    }
    for (const std::string& marker : outside) EXPECT_EQ(contentOf(marker), "a person's own file") << marker;
    EXPECT_FALSE(exists(docs + "\\report.undo.doc"));
    EXPECT_EQ(contentOf(docs + "\\report.doc"), "second\r\n");
    EXPECT_FALSE(exists(bin + "\\Redo\\marker3.txt"));
}
