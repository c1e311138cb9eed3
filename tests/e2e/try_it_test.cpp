// Retrace run the way scripts/run lays it out: the program folder of the
// portable package, from which Retrace starts its recorder. Two people of
// one computer, each with the default Undo Bin in their own profile, change
// a document with Wine's own cmd in turn: each one's menu offers their own
// change alone, and each one's history lies in their own bin.

#include "tests/e2e/recorded_history.h"

#include <shlobj.h>

#include "monitor/recorder_channel_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/menu_probe/menu_listing.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const std::string profiles = "C:\\Retrace E2E\\Profiles";

std::string desktop() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

class TryIt : public RecordedHistoryTest {
protected:
    void SetUp() override {
        endRecorder();
        RecordedHistoryTest::SetUp();
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.UndoBinPath, Settings{}.UndoBinPath);  // the installation's, unexpanded
        saveSettings(settings);
        GetEnvironmentVariableA("LOCALAPPDATA", ownLocalAppData, sizeof ownLocalAppData);
    }
    void TearDown() override {
        endRecorder();
        SetEnvironmentVariableA("LOCALAPPDATA", ownLocalAppData);
        RecordedHistoryTest::TearDown();
        for (const char* person : {"ann", "ben"}) DeleteFileA(document(person).c_str());
    }

    static std::string document(const std::string& person) { return desktop() + "\\" + person + "-notes.doc"; }
    static std::string binOf(const std::string& person) {
        return profiles + "\\" + person + "\\Retrace\\Undo Bin";
    }

    // Signs in as the person: Retrace started from the program folder with
    // the person's own local application data folder, and its recorder with
    // it. Then the person writes a document with cmd, twice, and clicks the
    // icon. Answers the menu's listing.
    std::string tryAs(const std::string& person) {
        SetEnvironmentVariableA("LOCALAPPDATA", (profiles + "\\" + person).c_str());
        ChildProcess retrace(std::string(PROGRAM_FOLDER) + "/retrace.exe", "");
        HWND mainWindow = waitForMainWindow();
        if (!mainWindow) return "no Retrace";
        // The recorder marks its start in the person's own report.
        if (!waitUntil([&] { return exists(binOf(person) + "\\filereport.000"); }, 30000)) return "no recorder";
        for (const char* text : {"first", "second"}) {
            ChildProcess cmd("C:\\windows\\system32\\cmd.exe",
                             "/c echo " + std::string(text) + " > \"" + document(person) + "\"");
            if (cmd.waitForExit() != 0) return "no cmd";
            Sleep(1500);
        }
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        auto menu = readOpenMenu(retrace.processId());
        closeMenuOnceShown(retrace.processId());
        waitUntilIdle(mainWindow);
        RetraceProcess("UNLOAD").waitForExit();
        retrace.waitForExit();
        endRecorder();
        return menu ? writeMenuListing(*menu) : "no menu";
    }

    char ownLocalAppData[MAX_PATH] = "";
};

bool historyNames(const std::string& bin, const std::string& file) {
    std::string list = toLowerAscii(bytesOf(bin + "\\actionlist.000").value_or(""));
    return list.find(toLowerAscii(file)) != std::string::npos;
}

}  // namespace

TEST_F(TryIt, EachPersonsChangeByCmdIsOfferedInTheirOwnMenuAndKeptInTheirOwnBin) {
    std::string annsMenu = tryAs("ann");
    std::string bensMenu = tryAs("ben");

    EXPECT_NE(annsMenu.find("ann-notes.doc"), std::string::npos) << annsMenu;
    EXPECT_EQ(annsMenu.find("ben-notes.doc"), std::string::npos) << annsMenu;
    EXPECT_NE(bensMenu.find("ben-notes.doc"), std::string::npos) << bensMenu;
    EXPECT_EQ(bensMenu.find("ann-notes.doc"), std::string::npos) << bensMenu;

    EXPECT_TRUE(historyNames(binOf("ann"), "ann-notes.doc"));
    EXPECT_FALSE(historyNames(binOf("ann"), "ben-notes.doc"));
    EXPECT_TRUE(historyNames(binOf("ben"), "ben-notes.doc"));
    EXPECT_FALSE(historyNames(binOf("ben"), "ann-notes.doc"));
    // The key keeps the text as written.
    char stored[MAX_PATH] = "";
    DWORD size = sizeof stored;
    RegGetValueA(HKEY_LOCAL_MACHINE, settingsKeyPath, "UndoBinPath", RRF_RT_REG_SZ, nullptr, stored, &size);
    EXPECT_STREQ(stored, "%LOCALAPPDATA%\\Retrace\\Undo Bin");
}
