// Figures for the change recorder under Wine, not a test: its start-up, its
// CPU use while nothing changes, how soon a change reaches the report, what
// becomes of 10,000 file changes in a minute, how soon a stop is answered in
// the middle of a burst of 4,000 changes, and its memory. It runs the
// recorder against a scratch Undo Bin and a scratch folder of its own, which
// it names in the settings and removes again.
//
//   recorder_wine_benchmark.exe [changes [seconds]]    defaults: 10000 in 60

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "monitor/file_report.h"
#include "monitor/recorder_channel_win32.h"
#include "settings/settings_lists.h"
#include "settings/settings_store_win32.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

const std::string root = "C:\\Recorder Benchmark";
const std::string bin = root + "\\Bin", work = root + "\\Work";

std::vector<FileReportEntry> report() { return parseFileReport(bytesOf(bin + "\\filereport.000").value_or("")); }

uint64_t reportSize() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA((bin + "\\filereport.000").c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

double cpuMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
    return (value(kernel) + value(user)) / 10000;
}

bool waitFor(double milliseconds, auto condition) {
    for (double end = now() + milliseconds; now() < end; Sleep(2))
        if (condition()) return true;
    return condition();
}

void write(const std::string& path, const char* text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text, DWORD(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    const int changes = argc > 1 ? std::atoi(argv[1]) : 10000;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 60;
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
    saveSettings(settings);

    std::string recorder = std::string("Z:") + RECORDER_EXE;  // a path of the build tree, which Wine shows as drive Z:
    for (char& c : recorder)
        if (c == '/') c = '\\';
    std::string line = "\"" + recorder + "\" \"/watch:" + work + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    double started = now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start %s\n", recorder.c_str());
        return 1;
    }
    waitFor(60000, [] { return !report().empty(); });
    std::printf("start-up to the boot marker: %.0f ms (registry snapshot, folder scan, file cache)\n", now() - started);

    // Idle: nothing changes in the watched places.
    Sleep(1000);
    double cpuBefore = cpuMilliseconds(process.hProcess), idleStart = now();
    Sleep(10000);
    std::printf("CPU while idle: %.1f ms in %.0f s\n", cpuMilliseconds(process.hProcess) - cpuBefore,
                (now() - idleStart) / 1000);

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
    // Settled once the report stops growing.
    for (double end = now() + 120000; now() < end;) {
        uint64_t size = reportSize();
        Sleep(700);
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

    askRecorder(RecorderRequest::Quit);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    deleteTree(root);
    saveSettings(saved);
    // Its counts would otherwise show on the Information page.
    RegDeleteTreeA(HKEY_CURRENT_USER, recorderCountsKey);
    return 0;
}
