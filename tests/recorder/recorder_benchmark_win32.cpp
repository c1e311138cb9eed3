// Figures for the change recorder under Wine, not a test: its start-up, its
// CPU use while nothing changes, how soon a change reaches the report, what
// becomes of 10,000 file changes in a minute, how soon a stop is answered in
// the middle of a burst of 4,000 changes, and its memory. It runs the
// recorder against a scratch Undo Bin and a scratch folder of its own, which
// it names in the settings and removes again. The registry mode makes a tree
// of keys under HKCU\Software, as large as a real machine's, and prints the
// first snapshot's time, the time from a value's change to its entry, the
// CPU per change and the memory the shadow of the tree takes.
//
//   recorder_wine_benchmark.exe [changes [seconds]]    defaults: 10000 in 60
//   recorder_wine_benchmark.exe registry [keys]        default: 200000

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "monitor/file_report.h"
#include "monitor/recorder_channel_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const std::string root = "C:\\Recorder Benchmark";
const std::string bin = root + "\\Bin", work = root + "\\Work";

const char* const benchmarkKey = "Software\\Retrace Benchmark Tree";

std::vector<FileReportEntry> report() { return parseFileReport(bytesOf(bin + "\\filereport.000").value_or("")); }

uint64_t reportSize() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA((bin + "\\filereport.000").c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// The sum over the process's threads: under Wine, the process's own times
// leave out all but its first thread, and the process tracker has one.
double cpuMilliseconds(HANDLE process) {
    auto value = [](const FILETIME& t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
    const DWORD processId = GetProcessId(process);
    double total = 0;
    HANDLE threads = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(threads, &entry); more; more = Thread32Next(threads, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, exited, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &exited, &kernel, &user)) total += value(kernel) + value(user);
        if (thread) CloseHandle(thread);
    }
    CloseHandle(threads);
    return total / 10000;
}

bool waitFor(double milliseconds, auto condition) {
    for (double end = now() + milliseconds; now() < end; Sleep(2))
        if (condition()) return true;
    return condition();
}

uint64_t registryReportSize() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA((bin + "\\regreport.000").c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

double committedMegabytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    return memory.PagefileUsage / 1e6;
}

// Starts the recorder watching the scratch folder; its start-up, with the
// first registry snapshot, is done once the boot marker is in the report.
PROCESS_INFORMATION startRecorder(double& startUpMilliseconds) {
    std::string recorder = std::string("Z:") + RECORDER_EXE;  // a path of the build tree, which Wine shows as drive Z:
    for (char& c : recorder)
        if (c == '/') c = '\\';
    std::string line = "\"" + recorder + "\" \"/watch:" + work + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DeleteFileA((bin + "\\filereport.000").c_str());
    double started = now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start %s\n", recorder.c_str());
        std::exit(1);
    }
    waitFor(600000, [] { return !report().empty(); });
    startUpMilliseconds = now() - started;
    return process;
}

// Until the recorder takes requests: after its boot marker it still records
// what changed while it was away, such as the files a last run left and
// removed, which must not count as idle.
double waitUntilSetUp() {
    double started = now();
    HANDLE setUp = nullptr;
    waitFor(600000, [&] { return (setUp = OpenEventA(SYNCHRONIZE, FALSE, recorderStartedName)) != nullptr; });
    if (setUp) {
        WaitForSingleObject(setUp, 600000);
        CloseHandle(setUp);
    }
    return now() - started;
}

void endRecorder(PROCESS_INFORMATION& process) {
    askRecorder(RecorderRequest::Quit);
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Vendors of products of keys, each key with two values: the shape of
// HKCU\Software on a machine in use.
void makeTree(int keys) {
    HKEY tree;
    RegCreateKeyExA(HKEY_CURRENT_USER, benchmarkKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &tree, nullptr);
    for (int made = 0; made < keys; ++made) {
        char path[96];
        std::snprintf(path, sizeof path, "Vendor %03d\\Product %02d\\Settings %03d", made / 1000, made / 100 % 10,
                      made % 100);
        HKEY key;
        if (RegCreateKeyExA(tree, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) continue;
        DWORD number = DWORD(made);
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), DWORD(std::strlen(path) + 1));
        RegCloseKey(key);
    }
    RegCloseKey(tree);
}

void setDeepValue(int round) {
    HKEY key;
    std::string path = std::string(benchmarkKey) + "\\Vendor 117\\Product 03\\Settings 042";
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD number = DWORD(round);
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
}

int registryFigures(int keys) {
    double startUp = 0;
    PROCESS_INFORMATION process = startRecorder(startUp);
    Sleep(2000);
    double baseMemory = committedMegabytes(process.hProcess);
    std::printf("without the tree: start-up %.0f ms, committed %.1f MB\n", startUp, baseMemory);
    endRecorder(process);

    double made = now();
    makeTree(keys);
    std::printf("%d keys made under HKCU\\%s in %.1f s\n", keys, benchmarkKey, (now() - made) / 1000);
    // The tree is no change to report: the recorder starts afresh, as on a
    // machine where it was never away, rather than find it made meanwhile.
    char appData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    DeleteFileA((std::string(appData) + "\\Retrace\\Recorder\\registry.shadow").c_str());
    process = startRecorder(startUp);
    Sleep(2000);
    double treeMemory = committedMegabytes(process.hProcess);
    std::printf("with the tree: first snapshot and start-up %.1f s, committed %.1f MB: the shadow of %d keys takes "
                "about %.1f MB\n", startUp / 1000, treeMemory, keys, treeMemory - baseMemory);

    Sleep(1000);
    double cpuBefore = cpuMilliseconds(process.hProcess), idleStart = now();
    Sleep(10000);
    double idle = cpuMilliseconds(process.hProcess) - cpuBefore;
    std::printf("CPU while idle with the tree: %.1f ms in %.0f s (%.2f%% of one core)\n", idle,
                (now() - idleStart) / 1000, idle / (now() - idleStart) * 100);

    std::vector<double> latencies;
    const int rounds = 20;
    cpuBefore = cpuMilliseconds(process.hProcess);
    for (int round = 0; round < rounds; ++round) {
        uint64_t size = registryReportSize();
        double changed = now();
        setDeepValue(round + 1);
        if (waitFor(30000, [&] { return registryReportSize() > size; })) latencies.push_back(now() - changed);
        Sleep(200);
    }
    double cpuPerChange = (cpuMilliseconds(process.hProcess) - cpuBefore) / rounds;
    if (!latencies.empty())
        std::printf("registry change to report entry: median %.0f ms, slowest %.0f ms (%zu of %d); recorder CPU per "
                    "change %.1f ms\n", median(latencies), *std::max_element(latencies.begin(), latencies.end()),
                    latencies.size(), rounds, cpuPerChange);
    endRecorder(process);
    RegDeleteTreeA(HKEY_CURRENT_USER, benchmarkKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, benchmarkKey);
    return 0;
}

void write(const std::string& path, const char* text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text, DWORD(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);  // each figure as soon as it is known, even into a file
    const bool registryMode = argc > 1 && std::strcmp(argv[1], "registry") == 0;
    const int changes = argc > 1 && !registryMode ? std::atoi(argv[1]) : 10000;
    const double seconds = argc > 2 && !registryMode ? std::atof(argv[2]) : 60;
    if (recorderRunning()) {
        std::printf("A recorder runs already; end it first (retrace-recorder.exe UNLOAD).\n");
        return 1;
    }
    Settings settings, saved;
    loadSettings(saved);
    settings = saved;
    deleteTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    setFieldText(settings.UndoBinPath, bin);
    settings.EnableDriver = 1;  // a recorder with monitoring off marks no start and records nothing
    saveSettings(settings);
    if (registryMode) {
        int code = registryFigures(argc > 2 ? std::atoi(argv[2]) : 200000);
        deleteTree(root);
        saveSettings(saved);
        return code;
    }

    double startUp = 0;
    PROCESS_INFORMATION process = startRecorder(startUp);
    std::printf("start-up to the boot marker: %.0f ms (registry snapshot, folder scan, file cache)\n", startUp);
    std::printf("then to taking requests: %.0f ms (what changed while it was away)\n", waitUntilSetUp());

    // Idle: nothing changes in the watched places.
    Sleep(1000);
    double cpuBefore = cpuMilliseconds(process.hProcess), idleStart = now();
    Sleep(10000);
    double idle = cpuMilliseconds(process.hProcess) - cpuBefore, idleSpan = now() - idleStart;
    std::printf("CPU while idle: %.1f ms in %.0f s (%.2f%% of one core, the process tracker included)\n", idle,
                idleSpan / 1000, idle / idleSpan * 100);

    // Latency: one change at a time, from the write to its entry in the report.
    std::vector<double> latencies;
    for (int i = 0; i < 20; ++i) {
        uint64_t size = reportSize();
        double written = now();
        write(work + "\\latency" + std::to_string(i) + ".txt", "x");
        if (waitFor(5000, [&] { return reportSize() > size; })) latencies.push_back(now() - written);
        Sleep(150);
    }
    if (!latencies.empty())
        std::printf("change to report entry: median %.0f ms, slowest %.0f ms (%zu of 20)\n", median(latencies),
                    *std::max_element(latencies.begin(), latencies.end()), latencies.size());

    // Load: the changes spread evenly over the time, each a new file.
    const size_t entriesBefore = report().size();
    double loadStart = now(), cpuLoadBefore = cpuMilliseconds(process.hProcess);
    for (int i = 0; i < changes; ++i) {
        double due = loadStart + seconds * 1000 * i / changes;
        while (now() < due) Sleep(1);
        write(work + "\\load" + std::to_string(i) + ".txt", "load");
    }
    double made = now() - loadStart;
    // Settled once the report stops growing for longer than a batch stays
    // open after its last change; a stop sooner would stage the last batch.
    for (double end = now() + 120000; now() < end;) {
        uint64_t size = reportSize();
        Sleep(1500);
        if (reportSize() == size) break;
    }
    askRecorder(RecorderRequest::Stop, 60000);
    double settled = now() - loadStart;
    std::set<std::string> seen;
    for (const FileReportEntry& entry : report())
        if (entry.kind == kindCreate && entry.path.find("\\load") != std::string::npos) seen.insert(entry.path);
    RecorderCounts counts;
    readRecorderCounts(counts);
    std::printf("%d changes made in %.1f s: %zu recorded once each (%zu entries in all), all in the report after "
                "%.1f s; %u rescans found %u, %u lost; recorder CPU %.0f ms\n",
                changes, made / 1000, seen.size(), report().size() - entriesBefore, settled / 1000, counts.rescans,
                counts.foundByRescan, counts.lost, cpuMilliseconds(process.hProcess) - cpuLoadBefore);

    // A burst: 4,000 files the recorder keeps earlier versions of, all
    // written anew, and a stop 300 ms into it, as a tray click makes.
    const int burst = 4000;
    askRecorder(RecorderRequest::Start, 60000);
    for (int i = 0; i < burst; ++i) write(work + "\\burst" + std::to_string(i) + ".txt", "before");
    for (uint64_t size = 0; size != reportSize();) {
        size = reportSize();
        Sleep(1500);
    }
    std::thread burstWriter([&] {
        for (int i = 0; i < burst; ++i) write(work + "\\burst" + std::to_string(i) + ".txt", "after the burst");
    });
    Sleep(300);
    double asked = now();
    bool answered = askRecorder(RecorderRequest::Stop, 60000);
    double answer = now() - asked;
    burstWriter.join();
    std::printf("stop 300 ms into a burst of %d changes: %s in %.0f ms\n", burst, answered ? "answered" : "NOT answered",
                answer);

    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    std::printf("recorder memory: peak working set %.1f MB, peak committed %.1f MB\n", memory.PeakWorkingSetSize / 1e6,
                memory.PeakPagefileUsage / 1e6);

    endRecorder(process);
    deleteTree(root);
    saveSettings(saved);
    // Its counts would otherwise show on the Information page.
    RegDeleteTreeA(HKEY_CURRENT_USER, recorderCountsKey);
    return 0;
}
