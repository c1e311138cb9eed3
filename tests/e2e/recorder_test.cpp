// The change recorder end to end: Retrace installed beside it starts it,
// small programs of known names make changes one at a time, and what the
// recorder wrote reaches the action list and the undo dialogs.

#include "tests/e2e/recorded_history.h"

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "monitor/file_report.h"
#include "monitor/recorder_channel_win32.h"
#include "monitor/registry_report.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/menu_probe_client_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const std::string program = "C:\\Retrace E2E\\Program";
const std::string ini = "C:\\windows\\recorder-e2e.ini";
const char registryKey[] = "Software\\Retrace E2E\\Recorder";

std::string desktop() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

// The folder the changes are made in, made before the recorder starts, with
// a subfolder two deep that Wine reports on only once it has been opened.
const std::string work = desktop() + "\\Recorder E2E";

void quitRecorder() {
    askRecorder(RecorderRequest::Quit);
    waitUntil([] { return !recorderRunning(); }, 20000);
}

// What the recorder keeps between runs, forgotten so that each test starts
// it as for the first time, with nothing to catch up on.
void forgetKeptState() {
    char appData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    const std::string folder = std::string(appData) + "\\Retrace\\Recorder";
    for (const char* name : {"\\files.catalog", "\\registry.shadow", "\\Shadow\\index"})
        DeleteFileA((folder + name).c_str());
}

std::vector<FileReportEntry> fileReport() { return parseFileReport(bytesOf(bin + "\\filereport.000").value_or("")); }

// The earlier content a saved copy holds, read without the program's reader.
std::string earlierContent(const std::string& savedCopy) {
    return decodeSavedCopy(bytesOf(savedCopy).value_or("")).value_or("<no saved copy>");
}

// The files directly in the bin, with their sizes.
std::map<std::string, uint64_t> binFiles(const std::string& folder = bin) {
    std::map<std::string, uint64_t> files;
    FolderListing listing = listFolder(folder);
    for (size_t i = 0; i < listing.fileNames.size(); ++i) files[listing.fileNames[i]] = listing.fileSizes[i];
    return files;
}

class Recorder : public RecordedHistoryTest {
protected:
    void SetUp() override {
        quitRecorder();
        forgetKeptState();
        RecordedHistoryTest::SetUp();
        deleteTree(work);
        putFile(work + "\\Archive\\Old\\keep.doc", "kept");
        putFile(work + "\\plan.doc", "plan v1");
        putFile(ini, "[View]\r\nZoom=100\r\n");
        CreateDirectoryA(program.c_str(), nullptr);
        CopyFileA(windowsPath(RETRACE_EXE).c_str(), (program + "\\retrace.exe").c_str(), FALSE);
        CopyFileA(windowsPath(RECORDER_EXE).c_str(), (program + "\\" + recorderProgramName).c_str(), FALSE);
    }
    void TearDown() override {
        quitRecorder();
        forgetKeptState();
        RecordedHistoryTest::TearDown();
        deleteTree(work);
        DeleteFileA(ini.c_str());
        // The counts would otherwise show on the Information page of later tests.
        RegDeleteTreeA(HKEY_CURRENT_USER, recorderCountsKey);
    }

    // Retrace as installed, which starts the recorder; ready once the
    // recorder has marked its start in the report.
    void startRetrace() {
        retrace.emplace(program + "\\retrace.exe", "");
        mainWindow = waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(waitUntil([] { return !fileReport().empty(); }, 30000));
        EXPECT_EQ(fileReport().front().kind, kindBootMarker);
    }

    // One change by the actor of that name; then a quiet moment.
    void act(const char* actor, std::vector<std::string> arguments) {
        std::string line;
        for (const std::string& argument : arguments) line += "\"" + argument + "\" ";
        ChildProcess child(std::string(ACTORS_DIR) + "/" + actor + ".exe", line);
        ASSERT_EQ(child.waitForExit(), 0u) << actor << " " << line;
        Sleep(300);
    }

    // A tray click: the recorder stops, its report is folded in, the menu shows.
    std::vector<ActionRecord> click() {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        EXPECT_TRUE(closeMenuOnceShown(retrace->processId()));
        EXPECT_TRUE(waitUntilIdle(mainWindow));
        return storedHistory();
    }

    // Undoes through a history dialog the row of that name and action.
    void undoFileAction(const std::string& name, const char* action) {
        HWND files = choose(IDM_FILE_MORE, "Files");
        ASSERT_NE(files, nullptr);
        DialogList rows(files, IDC_HISTORY_LIST);
        int row = -1;
        for (int r = 0; r < rows.rowCount() && row < 0; ++r)
            if (rows.cell(r, 0) == toLowerAscii(name) && rows.cell(r, 1) == action) row = r;
        ASSERT_GE(row, 0) << name << " " << action;
        rows.clickRow(row);
        pressButton(files, IDOK);
        HWND confirm = waitForDialog("Confirm Undo");
        ASSERT_NE(confirm, nullptr) << name;
        pressButton(confirm, IDOK);
        ASSERT_TRUE(waitForClose(confirm));
        waitUntilIdle(mainWindow);
    }

    // Undoes a program's newest session, or its oldest with all newer ones.
    void undoSessions(const char* caption, bool fromOldest) {
        HWND dialog = openByCommand(mainWindow, IDM_PROGRAM_MORE, "Programs");
        ASSERT_NE(dialog, nullptr);
        DialogList programs(dialog, IDC_HISTORY_LIST);
        programs.clickRow(programs.rowOf(std::string(caption).substr(std::string(caption).rfind(' ') + 1)));
        pressButton(dialog, IDOK);
        HWND sessions = waitForDialog(caption);
        ASSERT_NE(sessions, nullptr);
        DialogList rows(sessions, IDC_PROGRAM_SESSIONS);
        ASSERT_TRUE(waitUntil([&] { return rows.rowCount() > 0; }));
        // The oldest is the last row, scrolled into view to be clicked.
        const int row = fromOldest ? rows.rowCount() - 1 : 0;
        SendMessageA(GetDlgItem(sessions, IDC_PROGRAM_SESSIONS), LVM_ENSUREVISIBLE, row, FALSE);
        rows.clickRow(row);
        ASSERT_TRUE(waitUntil([&] { return controlShown(sessions, IDC_UNDO_SESSION_ONLY); }))
            << rows.rowCount() << " rows, selected " << (rows.selectedRows().empty() ? -1 : rows.selectedRows()[0]);
        pressButton(sessions, IDC_UNDO_SESSION_ONLY);
        HWND confirm = waitForDialog("Confirm undo of session");
        ASSERT_NE(confirm, nullptr);
        pressButton(confirm, IDOK);
        ASSERT_TRUE(waitForClose(sessions));
        waitUntilIdle(mainWindow);
    }

    HWND choose(unsigned item, const char* caption) {
        PostMessageA(mainWindow, WM_USER, 0, WM_LBUTTONDOWN);
        if (!chooseMenuItem(retrace->processId(), item)) return nullptr;
        return waitForDialog(caption);
    }

    std::optional<ChildProcess> retrace;
    HWND mainWindow = nullptr;
};

// The records one to a line, for a failure to show.
std::string describe(const std::vector<ActionRecord>& history) {
    std::string text;
    for (const ActionRecord& r : history)
        text += std::to_string(r.kind) + " " + r.programName + " " + (r.source == sourceRegistryReport ? r.dataC : r.dataA) +
                " " + r.dataB + "\n";
    return text;
}

std::string registryText(const char* subkey, const char* name) {
    char text[64] = "";
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, subkey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

}  // namespace

TEST_F(Recorder, ChangesByProgramsReachTheActionListWithTheirDataAndUndoBringsBackTheEarlierVersions) {
    startRetrace();
    const std::string w = work;
    act("scribe", {"create", w + "\\letter.doc", "first"});
    act("scribe", {"append", w + "\\letter.doc", " draft"});
    act("scribe", {"overwrite", w + "\\letter.doc", "second"});
    act("filer", {"rename", w + "\\letter.doc", w + "\\memo.doc"});
    act("filer", {"rename", w + "\\memo.doc", w + "\\Archive\\Old\\memo.doc"});
    act("scribe", {"create", w + "\\scrap.doc", "scrap"});
    act("filer", {"delete", w + "\\scrap.doc"});
    act("scribe", {"create", w + "\\old.doc", "old"});
    act("filer", {"recycle", w + "\\old.doc"});
    act("saver", {"safe-save", w + "\\plan.doc", "plan v2"});
    act("inifix", {"ini", ini, "View", "Zoom", "150"});
    act("regtool", {"set-value", registryKey, "Zoom", "100"});
    act("regtool", {"set-value", registryKey, "Zoom", "200"});
    act("regtool", {"delete-value", registryKey, "Zoom"});
    act("regtool", {"set-value", std::string(registryKey) + "\\Sub", "Name", "kept"});
    act("regtool", {"delete-key", std::string(registryKey) + "\\Sub"});

    std::vector<ActionRecord> history = click();
    const std::string d = toLowerAscii(w), k = "hkcu\\software\\retrace e2e\\recorder";
    struct Expected {
        int32_t kind;
        const char* program;
        std::string dataA;  // file records: the path; registry records: the data before
        std::string other;  // Rename, Move: the new path; Modify, Delete: the earlier content; registry: the path
    };
    const std::string z = std::string("\0", 1);
    const std::vector<Expected> expected{
        {kindCreate, "scribe", d + "\\letter.doc", ""},
        {kindModify, "scribe", d + "\\letter.doc", "first"},
        {kindModify, "scribe", d + "\\letter.doc", "first draft"},
        {kindRename, "filer", d + "\\letter.doc", d + "\\memo.doc"},
        {kindMove, "filer", d + "\\memo.doc", d + "\\archive\\old\\memo.doc"},
        {kindCreate, "scribe", d + "\\scrap.doc", ""},
        {kindDelete, "filer", d + "\\scrap.doc", "scrap"},
        {kindCreate, "scribe", d + "\\old.doc", ""},
        {kindRecycle, "filer", d + "\\old.doc", ""},
        {kindModify, "saver", d + "\\plan.doc", "plan v1"},
        {kindModify, "inifix", ini, "[View]\r\nZoom=100\r\n"},
        {kindRegistryCreateKey, "regtool", "", "hkcu\\software\\retrace e2e\\"},
        {kindRegistryCreateKey, "regtool", "", k + "\\"},
        {kindRegistryNewValue, "regtool", "", k + "\\zoom"},
        {kindRegistryChangeValue, "regtool", "100" + z, k + "\\zoom"},
        {kindRegistryDeleteValue, "regtool", "200" + z, k + "\\zoom"},
        {kindRegistryCreateKey, "regtool", "", k + "\\sub\\"},
        {kindRegistryNewValue, "regtool", "", k + "\\sub\\name"},
        {kindRegistryDeleteValue, "regtool", "kept" + z, k + "\\sub\\name"},
        {kindRegistryDeleteKey, "regtool", "", k + "\\sub\\"},
    };
    ASSERT_FALSE(history.empty());
    ASSERT_EQ(history.front().kind, kindBootMarker);
    ASSERT_EQ(history.size(), expected.size() + 1) << describe(history);
    for (size_t i = 0; i < expected.size(); ++i) {
        const ActionRecord& record = history[i + 1];
        const Expected& e = expected[i];
        SCOPED_TRACE("record " + std::to_string(i + 1) + ": " + record.dataA + " " + record.dataC);
        EXPECT_EQ(record.kind, e.kind);
        EXPECT_STREQ(record.programName, e.program);
        EXPECT_NE(record.processId, 0);
        if (record.source == sourceRegistryReport) {
            EXPECT_EQ(record.dataA, e.dataA);
            EXPECT_EQ(record.dataC, e.other);
        } else {
            EXPECT_EQ(toLowerAscii(record.dataA), toLowerAscii(e.dataA));
            if (e.kind == kindRename || e.kind == kindMove) {
                EXPECT_EQ(record.dataB, e.other);
            }
            if (e.kind == kindModify || e.kind == kindDelete) {
                EXPECT_EQ(earlierContent(record.dataC), e.other);
            }
        }
    }
    // Recycled under Wine into the desktop's trash, from where undo copies it back.
    EXPECT_EQ(contentOf(history[9].dataC), "old");

    // Newest first, as a person takes back what went wrong.
    undoFileAction(w + "\\plan.doc", "Modify");
    EXPECT_EQ(contentOf(w + "\\plan.undo.doc"), "plan v1");
    undoFileAction(w + "\\old.doc", "Delete");
    EXPECT_EQ(contentOf(w + "\\old.doc"), "old");
    undoFileAction(w + "\\scrap.doc", "Delete");
    EXPECT_EQ(contentOf(w + "\\scrap.undo.doc"), "scrap");
    undoFileAction(w + "\\memo.doc", "Move");
    EXPECT_EQ(contentOf(w + "\\memo.doc"), "second");
    undoFileAction(w + "\\letter.doc", "Rename");
    EXPECT_EQ(contentOf(w + "\\letter.doc"), "second");
    undoFileAction(w + "\\letter.doc", "Modify");
    EXPECT_EQ(contentOf(w + "\\letter.undo.doc"), "first draft");

    undoSessions("Undo Program - Inifix", false);
    EXPECT_EQ(GetPrivateProfileIntA("View", "Zoom", 0, ini.c_str()), 100u);
    // The newest run deleted a key with its value: both come back.
    undoSessions("Undo Program - Regtool", false);
    EXPECT_EQ(registryText((std::string(registryKey) + "\\Sub").c_str(), "Name"), "kept");
    // All runs, newest first: the keys they made are gone again.
    undoSessions("Undo Program - Regtool", true);
    HKEY key;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Retrace E2E", &key), ERROR_FILE_NOT_FOUND);

    // The undos' restores, recycles, Redo-folder copies and settings writes
    // were Retrace's own: the recorder, running all along, kept none of them.
    Sleep(1500);
    std::vector<ActionRecord> after = click();
    EXPECT_EQ(after.size(), history.size()) << describe(after);
}

TEST_F(Recorder, StoppedItWritesNothingIntoTheBinAndWhatCameMeanwhileFollowsOnStartWhileOffNothingIsRecorded) {
    startRetrace();
    const std::string plan = work + "\\plan.doc";
    // Stopped, as a tray click stops it: the change waits, its saved copy in
    // Staging, which the click's sweep of the bin leaves alone; the click's
    // start then brings both into the bin.
    ASSERT_TRUE(askRecorder(RecorderRequest::Stop));
    const auto before = binFiles();
    act("saver", {"safe-save", plan, "plan v2"});
    Sleep(1000);
    EXPECT_EQ(binFiles(), before);
    EXPECT_EQ(binFiles(bin + "\\Staging").size(), 1u);
    ASSERT_EQ(click().size(), 1u);  // the recorder's boot marker
    ASSERT_TRUE(waitUntil([] { return !fileReport().empty(); }));
    std::vector<FileReportEntry> report = fileReport();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].kind, kindModify);
    EXPECT_EQ(containingFolder(report[0].otherPath), toLowerAscii(bin));
    EXPECT_EQ(earlierContent(report[0].otherPath), "plan v1");
    EXPECT_TRUE(binFiles(bin + "\\Staging").empty());

    // Monitoring off from Retrace's command: nothing is recorded at all.
    PostMessageA(mainWindow, WM_COMMAND, IDM_TOGGLE_MONITORING, 0);
    ASSERT_TRUE(waitUntil([] {
        Settings settings;
        loadSettings(settings);
        return settings.EnableDriver == 0;
    }));
    const auto off = binFiles();
    act("scribe", {"overwrite", plan, "plan v3"});
    Sleep(1000);
    EXPECT_EQ(binFiles(), off);
    EXPECT_TRUE(binFiles(bin + "\\Staging").empty());
    PostMessageA(mainWindow, WM_COMMAND, IDM_TOGGLE_MONITORING, 0);
    ASSERT_TRUE(waitUntil([] {
        Settings settings;
        loadSettings(settings);
        return settings.EnableDriver == 1;
    }));
    // The file cache followed meanwhile: the next change's earlier content is the one made while off.
    act("saver", {"safe-save", plan, "plan v4"});
    ASSERT_TRUE(waitUntil([] { return fileReport().size() == 2; }));
    EXPECT_EQ(earlierContent(fileReport()[1].otherPath), "plan v3");
}

TEST_F(Recorder, AWatchThatOverflowsIsReadAgainWholeAndWhatTheRescanFindsIsCountedAsLossy) {
    ChildProcess recorder(RECORDER_EXE, "/buffer:64");
    ASSERT_TRUE(waitUntil([] { return !fileReport().empty(); }, 30000));
    const int files = 300;
    for (int i = 0; i < files; ++i) putFile(work + "\\Archive\\Old\\burst" + std::to_string(i) + ".doc", "x");
    // A stop is answered at once, and the batch it came into follows at the
    // next start: the report is read once the recorder has written it all.
    std::map<std::string, int> created;
    auto readCreated = [&] {
        created.clear();
        for (const FileReportEntry& entry : fileReport())
            if (entry.kind == kindCreate) ++created[entry.path];
        return created.size() >= size_t(files);
    };
    EXPECT_TRUE(waitUntil(readCreated, 30000));
    Sleep(1000);
    ASSERT_TRUE(askRecorder(RecorderRequest::Stop));
    readCreated();
    EXPECT_EQ(created.size(), size_t(files));
    EXPECT_TRUE(std::all_of(created.begin(), created.end(), [](auto& c) { return c.second == 1; }));
    RecorderCounts counts;
    ASSERT_TRUE(readRecorderCounts(counts));
    EXPECT_GE(counts.rescans, 1u);
    EXPECT_GE(counts.foundByRescan, 1u);
    EXPECT_LE(counts.foundByRescan, uint32_t(files));
    quitRecorder();
    EXPECT_EQ(recorder.waitForExit(), 0u);

    // Said where a person looks for how Retrace is doing.
    RetraceProcess options;
    mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    HWND sheet = openByCommand(mainWindow, IDM_OPTIONS, "Retrace Options");
    ASSERT_NE(sheet, nullptr);
    HWND information = showSheetPage(sheet, 4);
    ASSERT_NE(information, nullptr);
    EXPECT_EQ(controlText(information, IDC_RECORDER_COUNTS), recorderCountsText(counts));
    pressButton(sheet, IDCANCEL);
    EXPECT_TRUE(waitForClose(sheet));
}

namespace {

// Every thread of the running recorder held or let go, as a recorder that
// hangs and comes back.
void holdRecorder(bool hold) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    std::set<DWORD> recorders;
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(snapshot, &process); more; more = Process32Next(snapshot, &process))
        if (equalsIgnoreCase(process.szExeFile, recorderProgramName)) recorders.insert(process.th32ProcessID);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
        if (!recorders.contains(thread.th32OwnerProcessID)) continue;
        HANDLE handle = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID);
        if (hold)
            SuspendThread(handle);
        else
            ResumeThread(handle);
        CloseHandle(handle);
    }
    CloseHandle(snapshot);
}

// The running recorder's process, for its CPU time.
HANDLE openRecorderProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &process); more && !id; more = Process32Next(snapshot, &process))
        if (equalsIgnoreCase(process.szExeFile, recorderProgramName)) id = process.th32ProcessID;
    CloseHandle(snapshot);
    return id ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id) : nullptr;
}

uint64_t cpuTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto value = [](const FILETIME& t) { return uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

// Waits until the recorder has written everything: for a second and a half
// it works no more than its idle checks, its report stays as it is and
// nothing waits in Staging.
void waitUntilRecorderQuiet() {
    HANDLE recorder = openRecorderProcess();
    std::string before = "<none>";
    uint64_t cpuBefore = 0;
    waitUntil([&] {
        std::string now = bytesOf(bin + "\\filereport.000").value_or("");
        uint64_t cpu = cpuTime(recorder);
        bool quiet = now == before && cpu - cpuBefore < 200000 && binFiles(bin + "\\Staging").empty();
        before = now;
        cpuBefore = cpu;
        if (!quiet) Sleep(1500);
        return quiet;
    }, 100000);
    if (recorder) CloseHandle(recorder);
}

// Closes, inside another process, its handle to `folder`: a watch's handle
// gone from under it.
bool closeFolderHandleIn(DWORD processId, const std::string& folder) {
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId);
    bool closed = false;
    for (uintptr_t value = 4; process && value < 0x10000 && !closed; value += 4) {
        HANDLE copy = nullptr;
        if (!DuplicateHandle(process, HANDLE(value), GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
            continue;
        char path[MAX_PATH] = "";
        DWORD length = GetFinalPathNameByHandleA(copy, path, MAX_PATH, 0);
        CloseHandle(copy);
        // Spelt as the system likes, with or without a drive or a prefix.
        std::string name = toLowerAscii(std::string(path, length < MAX_PATH ? length : 0));
        std::string tail = toLowerAscii(folder.substr(2));
        if (!name.ends_with(tail)) continue;
        // Taken over into this process and closed here: gone from the other.
        closed = DuplicateHandle(process, HANDLE(value), GetCurrentProcess(), &copy, 0, FALSE,
                                 DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE) &&
                 CloseHandle(copy);
    }
    if (process) CloseHandle(process);
    return closed;
}

}  // namespace

class RecorderBurst : public Recorder, public testing::WithParamInterface<bool> {};

// 4,000 files whose earlier versions the recorder keeps are all written
// anew, and the tray is clicked 300 ms into it, with a recorder that answers
// and with one that hangs through the click.
TEST_P(RecorderBurst, ClickedIntoEveryChangeIsTakenInOnceWithItsSavedCopy) {
    const bool answers = GetParam();
    const int files = 4000;
    const std::string folder = work + "\\Burst";
    auto fileName = [&](int i) { return folder + "\\f" + std::to_string(i) + ".doc"; };
    for (int i = 0; i < files; ++i) putFile(fileName(i), "v1 " + std::to_string(i));
    startRetrace();

    // Paced a little: a recorder held for seconds reads no notices, and
    // under Wine those beyond the system's queue are gone without a word.
    std::thread writer([&] {
        for (int i = 0; i < files; ++i) {
            putFile(fileName(i), "v2 " + std::to_string(i));
            if (i % 2) Sleep(1);
        }
    });
    Sleep(250);
    if (!answers) holdRecorder(true);
    Sleep(50);
    click();
    if (!answers) holdRecorder(false);
    writer.join();
    waitUntilRecorderQuiet();
    click();
    quitRecorder();
    click();  // whatever came after that click's stop

    std::map<std::string, std::vector<std::string>> earlier;  // path: earlier contents, oldest first
    std::map<int32_t, int> kinds;
    RecorderCounts counts;
    readRecorderCounts(counts);
    for (const ActionRecord& record : storedHistory()) {
        ++kinds[record.kind];
        if (record.kind != kindModify || !record.dataA.starts_with(toLowerAscii(folder))) continue;
        ASSERT_EQ(GetFileAttributesA(record.dataC.c_str()) != INVALID_FILE_ATTRIBUTES, true) << record.dataC;
        earlier[record.dataA].push_back(earlierContent(record.dataC));
    }
    ASSERT_EQ(earlier.size(), size_t(files)) << testing::PrintToString(kinds) << " " << recorderCountsText(counts);
    for (int i = 0; i < files; ++i) {
        const std::vector<std::string>& contents = earlier[toLowerAscii(fileName(i))];
        ASSERT_FALSE(contents.empty()) << i;
        EXPECT_EQ(contents.front(), "v1 " + std::to_string(i));
        // Taken in once: no change comes twice.
        EXPECT_EQ(std::set<std::string>(contents.begin(), contents.end()).size(), contents.size()) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(, RecorderBurst, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Answering" : "Hanging"; });

TEST_F(Recorder, AWatchClosedFromUnderItIsNoticedStartedAgainRescannedAndCounted) {
    const std::string heal = "C:\\Retrace E2E\\Heal";
    CreateDirectoryA(heal.c_str(), nullptr);
    ChildProcess recorder(RECORDER_EXE, "\"/watch:" + heal + "\"");
    ASSERT_TRUE(waitUntil([] { return !fileReport().empty(); }, 30000));
    ASSERT_TRUE(closeFolderHandleIn(recorder.processId(), heal));
    putFile(heal + "\\meanwhile.doc", "made while the watch was gone");
    auto created = [&](const char* name) {
        std::vector<FileReportEntry> report = fileReport();
        return std::count_if(report.begin(), report.end(), [&](const FileReportEntry& entry) {
            return entry.kind == kindCreate && entry.path == toLowerAscii(heal + "\\" + name);
        });
    };
    ASSERT_TRUE(waitUntil([&] { return created("meanwhile.doc") > 0; }, 5000));
    // The new watch sees what comes next as it happens.
    putFile(heal + "\\after.doc", "after");
    ASSERT_TRUE(waitUntil([&] { return created("after.doc") > 0; }, 5000));
    EXPECT_EQ(created("meanwhile.doc"), 1);
    RecorderCounts counts;
    ASSERT_TRUE(readRecorderCounts(counts));
    EXPECT_GE(counts.restarts, 1u);
    EXPECT_GE(counts.rescans, 1u);
    quitRecorder();
    EXPECT_EQ(recorder.waitForExit(), 0u);
    deleteTree(heal);
}

namespace {

void setRegistryText(const std::string& subkey, const char* name, const char* text) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(std::strlen(text) + 1));
    RegCloseKey(key);
}

// Every value of the key, by name (case ignored, as the registry does), with
// its type and data; empty when the key is missing.
std::map<std::string, std::string> registryValues(const char* subkey) {
    std::map<std::string, std::string> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256];
    BYTE data[4096];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
        values[toLowerAscii(name)] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataLength);
    }
    RegCloseKey(key);
    return values;
}

// The visible top-level window of that class the process shows, once it shows.
HWND windowOf(DWORD processId, const char* className) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window && !found;
                 window = FindWindowExA(nullptr, window, className, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == processId && IsWindowVisible(window)) found = window;
            }
            return found != nullptr;
        },
        20000);
    return found;
}

// Presses Ctrl with the key in the window, brought to the front, as a person would.
void pressControlKey(HWND window, WORD key) {
    SetForegroundWindow(window);
    waitUntil([&] { return GetForegroundWindow() == window; }, 5000);
    INPUT keys[4] = {};
    for (INPUT& input : keys) input.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = keys[2].ki.wVk = key;
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
}

// An unrelated program that starts with the one at work and lives a moment.
std::unique_ptr<ChildProcess> unrelatedProgram(int milliseconds) {
    return std::make_unique<ChildProcess>(std::string(ACTORS_DIR) + "/blip.exe", "live " + std::to_string(milliseconds));
}

// Who made each record, by what it names.
struct Attribution {
    int changes = 0, right = 0, unknown = 0, wrong = 0;
};

}  // namespace

// Wine's own programs, each run while an unrelated program starts at the same
// moment: every record names the program that made it or is counted unknown,
// and the sessions of regedit and notepad undo the registry to what it was.
// The settings notepad writes as it exits belong to its session.
TEST_F(Recorder, WinesOwnProgramsAreNamedOrCountedUnknownAndTheirSessionsUndoTheRegistry) {
    const std::string w = work, imported = "Software\\Retrace E2E\\Imported", memo = w + "\\memo.txt";
    const char notepadKey[] = "Software\\Microsoft\\Notepad";
    RegDeleteTreeA(HKEY_CURRENT_USER, imported.c_str());  // as an interrupted run may have left it
    setRegistryText(imported, "Changed", "before");
    setRegistryText(imported, "Removed", "old");
    putFile(w + "\\Source\\a.txt", "copied");
    CreateDirectoryA((w + "\\Copies").c_str(), nullptr);
    putFile(memo, "memo v1");
    // A program's settings as an import brings them: regedit importing three
    // values alone lives 10 to 40 ms under Wine, less than the process list
    // is looked at; with these it lives 50 to 100 ms, as a real import does.
    std::string settingsOfAProgram;
    for (int value = 0; value < 400; ++value)
        settingsOfAProgram += "\"Setting" + std::to_string(value) + "\"=\"value " + std::to_string(value) + "\"\r\n";
    putFile(w + "\\import.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Retrace E2E\\Imported]\r\n"
                                "\"Added\"=\"new\"\r\n\"Changed\"=\"after\"\r\n\"Removed\"=-\r\n\r\n"
                                "[HKEY_CURRENT_USER\\Software\\Retrace E2E\\Imported\\Program]\r\n" +
                                    settingsOfAProgram);
    const auto importedBefore = registryValues(imported.c_str());
    // Notepad's first run: the settings it writes as it exits are new.
    RegDeleteTreeA(HKEY_CURRENT_USER, notepadKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, notepadKey);
    startRetrace();

    auto run = [&](const char* program, const std::string& arguments, int unrelatedLives) {
        auto unrelated = unrelatedProgram(unrelatedLives);
        // regedit lives in the Windows folder itself, the others in System32.
        const std::string folder = std::strcmp(program, "regedit") == 0 ? "C:\\windows\\" : "C:\\windows\\system32\\";
        ChildProcess child(folder + program + ".exe", arguments);
        EXPECT_EQ(child.waitForExit(30000), 0u) << program << " " << arguments;
        unrelated->waitForExit();
        Sleep(1500);  // a quiet moment, once the recorder has named who made the change
    };
    const std::string q = "\"";
    run("regedit", "/S " + q + w + "\\import.reg" + q, 2000);
    // The unrelated program lives a tenth of a second, half a second, two.
    for (int lives : {100, 500, 2000}) {
        run("reg", "add " + q + "HKCU\\" + registryKey + q + " /v Color /d blue" + std::to_string(lives) + " /f", lives);
        run("reg", "delete " + q + "HKCU\\" + registryKey + q + " /v Color /f", lives);
        run("xcopy", q + w + "\\Source\\a.txt" + q + " " + q + w + "\\Copies" + q + " /y", lives);
        run("cmd", "/c mkdir " + q + w + "\\Tree\\Deep" + q + " && echo x> " + q + w + "\\Tree\\Deep\\x.txt" + q, lives);
        run("cmd", "/c copy " + q + memo + q + " " + q + w + "\\memo copy.txt" + q, lives);
        run("cmd", "/c ren " + q + w + "\\memo copy.txt" + q + " " + q + "memo two.txt" + q, lives);
        run("cmd", "/c del " + q + w + "\\memo two.txt" + q, lives);
        run("cmd", "/c rd /s /q " + q + w + "\\Tree" + q, lives);
    }
    {
        ChildProcess notepad("C:\\windows\\system32\\notepad.exe", q + memo + q);
        HWND window = windowOf(notepad.processId(), "Notepad");
        ASSERT_NE(window, nullptr);
        HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
        ASSERT_NE(edit, nullptr);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("memo v2"));
        SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
        auto unrelated = unrelatedProgram(2000);
        // The keys go to the window in front: pressed again when the unrelated
        // program took the front as it started.
        bool saved = false;
        for (int attempt = 0; attempt < 3 && !saved; ++attempt) {
            pressControlKey(window, 'S');
            saved = waitUntil([&] { return contentOf(memo) == "memo v2"; }, 5000);
        }
        ASSERT_TRUE(saved) << contentOf(memo);
        unrelated->waitForExit();
        Sleep(1500);
        auto alsoUnrelated = unrelatedProgram(2000);
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(notepad.waitForExit(), 0u);
        Sleep(1500);
    }

    std::vector<ActionRecord> history = click();
    ASSERT_FALSE(history.empty());
    const std::string d = toLowerAscii(w);
    auto madeBy = [&](const ActionRecord& r) -> std::string {
        const std::string path = toLowerAscii(r.source == sourceRegistryReport ? r.dataC : r.dataA);
        if (path.find("\\retrace e2e\\recorder") != std::string::npos) return "reg";
        if (path.find("\\retrace e2e\\imported") != std::string::npos) return "regedit";
        if (path.find("\\microsoft\\notepad") != std::string::npos || path == toLowerAscii(memo)) return "notepad";
        if (path.starts_with(d + "\\copies")) return "xcopy";
        if (path.starts_with(d + "\\tree") || path.starts_with(d + "\\memo ")) return "cmd";
        return "?";
    };
    std::map<std::string, Attribution> table;
    int unknownRecords = 0, wrongRecords = 0;
    for (const ActionRecord& r : history) {
        if (r.kind == kindBootMarker) continue;
        const std::string program = madeBy(r);
        Attribution& row = table[program];
        ++row.changes;
        if (r.processId == 0) {
            ++row.unknown;
            ++unknownRecords;
        } else if (equalsIgnoreCase(r.programName, program)) {
            ++row.right;
        } else {
            ++row.wrong;
            ++wrongRecords;
            std::printf("attribution: made by %s, recorded as %s: %s\n", program.c_str(), r.programName,
                        std::string(r.source == sourceRegistryReport ? r.dataC : r.dataA).c_str());
        }
    }
    std::printf("attribution: program, changes, right, unknown, wrong\n");
    for (auto& [program, row] : table)
        std::printf("attribution: %s, %d, %d, %d, %d\n", program.c_str(), row.changes, row.right, row.unknown, row.wrong);
    EXPECT_FALSE(table.contains("?")) << describe(history);
    // A tool that lives a moment can make its change and end between two
    // reads of the process list, unseen, and the unrelated program alive
    // then is named: rare, and bounded here, since only a source that sees
    // who opens what can rule it out.
    EXPECT_LE(wrongRecords * 10, int(history.size())) << describe(history);
    for (const char* program : {"reg", "regedit", "xcopy", "cmd", "notepad"}) EXPECT_GT(table[program].changes, 0) << program;
    RecorderCounts counts;
    ASSERT_TRUE(readRecorderCounts(counts));
    EXPECT_EQ(counts.unknownProgram, uint32_t(unknownRecords));

    // The import and notepad, undone as programs: the registry is as it was,
    // values they made gone rather than left empty.
    ASSERT_GT(table["regedit"].right, 0) << describe(history);
    undoSessions("Undo Program - Regedit", true);
    EXPECT_EQ(registryValues(imported.c_str()), importedBefore);
    EXPECT_TRUE(registryValues((imported + "\\Program").c_str()).empty());
    ASSERT_GT(table["notepad"].right, 0) << describe(history);
    undoSessions("Undo Program - Notepad", true);
    EXPECT_TRUE(registryValues(notepadKey).empty());
}

namespace {

// The session ends as Windows ends it: the recorder's window is told, and
// the process is ended as soon as it has answered.
void endSessionUnderRecorder() {
    HWND window = FindWindowA("RetraceRecorder", nullptr);
    ASSERT_NE(window, nullptr);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

}  // namespace

class RecorderAway : public Recorder, public testing::WithParamInterface<bool> {};

// Gone, whether asked to quit or ended with the person's session, the
// recorder sees nothing; started again, it finds what changed meanwhile
// against what it kept and records it under one name: undoing that session
// brings the value's old data back, and the deleted file comes back from
// the copy the recorder kept of it.
TEST_P(RecorderAway, WhatChangedMeanwhileIsRecordedAtItsNextStartAndUndoes) {
    const bool sessionEnded = GetParam();
    startRetrace();
    act("regtool", {"set-value", registryKey, "Zoom", "100"});
    click();
    if (sessionEnded)
        endSessionUnderRecorder();
    else
        quitRecorder();
    ASSERT_FALSE(recorderRunning());

    setRegistryText(registryKey, "Zoom", "250");
    ASSERT_TRUE(DeleteFileA((work + "\\plan.doc").c_str()));
    putFile(work + "\\made.doc", "made");
    ASSERT_TRUE(MoveFileA((work + "\\Archive\\Old\\keep.doc").c_str(), (work + "\\keep.doc").c_str()));
    // The click starts the recorder again, which finds the changes; the next one takes them in.
    click();
    ASSERT_TRUE(waitUntil([] { return fileReport().size() >= 3; }, 30000))
        << "recorder running: " << recorderRunning() << ", entries: " << fileReport().size();
    Sleep(2000);
    std::vector<ActionRecord> history = click();

    std::map<std::string, int32_t> away;  // what each record of the catch-up names, and its kind
    for (const ActionRecord& r : history)
        if (equalsIgnoreCase(r.programName, "Offline"))
            away[toLowerAscii(r.source == sourceRegistryReport ? r.dataC : r.dataA)] = r.kind;
    const std::string d = toLowerAscii(work);
    const std::map<std::string, int32_t> expected{
        {d + "\\plan.doc", kindDelete},
        {d + "\\made.doc", kindCreate},
        {d + "\\archive\\old\\keep.doc", kindMove},
        {"hkcu\\software\\retrace e2e\\recorder\\zoom", kindRegistryChangeValue},
    };
    EXPECT_EQ(away, expected) << describe(history);
    RecorderCounts counts;
    ASSERT_TRUE(readRecorderCounts(counts));
    EXPECT_EQ(counts.madeWhileAway, 4u);

    // The session takes back the setting; the files come back from the file history.
    undoSessions("Undo Program - Offline", false);
    EXPECT_EQ(registryText(registryKey, "Zoom"), "100");
    undoFileAction(work + "\\plan.doc", "Delete");
    EXPECT_EQ(contentOf(work + "\\plan.undo.doc"), "plan v1");
    undoFileAction(work + "\\Archive\\Old\\keep.doc", "Move");
    EXPECT_EQ(contentOf(work + "\\Archive\\Old\\keep.doc"), "kept");
}

INSTANTIATE_TEST_SUITE_P(, RecorderAway, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "SessionEnded" : "Quit"; });

// A vendor's settings too many to read again on every change are watched
// key by key below it, the first run splitting them once it has read them:
// a change deep inside, a key made below a key watched on its own (and then
// watched itself) and a key deleted with its value are each recorded once,
// for the program that made them.
TEST_F(Recorder, ALargeSettingsTreeIsWatchedInPartsAndEachChangeInItIsRecordedOnce) {
    const std::string tree = "Software\\Retrace E2E\\Tree";
    auto key = [&](int vendor, const std::string& name) {
        return tree + "\\Vendor " + std::to_string(vendor) + "\\" + name;
    };
    for (int vendor = 0; vendor < 30; ++vendor)
        for (int item = 0; item < 80; ++item) setRegistryText(key(vendor, "Key " + std::to_string(item)), "Name", "v");

    startRetrace();
    act("regtool", {"set-value", key(7, "Key 42"), "Name", "changed"});
    act("regtool", {"set-value", key(30, "New"), "Name", "made"});
    act("regtool", {"delete-key", key(12, "Key 5")});
    click();
    act("regtool", {"set-value", key(30, "New"), "Name", "again"});
    std::vector<ActionRecord> history = click();
    RegDeleteTreeA(HKEY_CURRENT_USER, tree.c_str());

    std::multiset<std::pair<std::string, int32_t>> recorded;
    for (const ActionRecord& r : history)
        if (r.source == sourceRegistryReport && equalsIgnoreCase(r.programName, "regtool"))
            recorded.insert({std::string(r.dataC), r.kind});
    const std::string t = "hkcu\\software\\retrace e2e\\tree";
    const std::multiset<std::pair<std::string, int32_t>> expected{
        {t + "\\vendor 7\\key 42\\name", kindRegistryChangeValue},
        {t + "\\vendor 30\\", kindRegistryCreateKey},
        {t + "\\vendor 30\\new\\", kindRegistryCreateKey},
        {t + "\\vendor 30\\new\\name", kindRegistryNewValue},
        {t + "\\vendor 12\\key 5\\name", kindRegistryDeleteValue},
        {t + "\\vendor 12\\key 5\\", kindRegistryDeleteKey},
        {t + "\\vendor 30\\new\\name", kindRegistryChangeValue},
    };
    EXPECT_EQ(recorded, expected) << describe(history);
}
