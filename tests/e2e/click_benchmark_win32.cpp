// Tray click to menu in retrace.exe itself, under Wine: for an empty
// history, then for stored histories of 10,000, 100,000 and 1,000,000
// records with an Undo Bin of the newest saved copies they name (at most
// 20,000) and reports of 1,000 new entries at every click. Prints the
// start-up time, each click's time until the menu shows and until the work
// it leaves in the background is done, then runs rebuild_wine_benchmark for
// the steps of a click at 100,000 records. The first click comes right
// after start-up, each later one once the last one's work is done. It is
// no test.
//
//   click_wine_benchmark.exe [runs]     (default 5 clicks per history)

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/derive_flags.h"
#include "database/merge_reports.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/database/working_history.h"
#include "tests/e2e/automation_win32.h"
#include "tests/e2e/menu_probe/menu_windows_win32.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void emptyFolder(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

void writeCopies(const std::string& bin, const std::vector<std::string>& names, size_t from, size_t to) {
    const std::string content(512, 's');
    for (size_t index = from; index < to; ++index) writeFile(bin + "\\" + names[index], content);
}

struct Figures {
    double startUp = 0;
    std::vector<double> toMenu, toIdle;
    double residentMB = 0, listMB = 0;
};

// The program's working set once its last click's work is done.
double residentMegabytes(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return 0;
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    CloseHandle(process);
    return memory.WorkingSetSize / 1e6;
}

double fileMegabytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return 0;
    return (double(attributes.nFileSizeHigh) * 4294967296.0 + attributes.nFileSizeLow) / 1e6;
}

// One history: stored, then clicked `runs` times with fresh reports each time.
Figures measure(const std::string& bin, size_t records, size_t newEntries, int runs) {
    emptyFolder(bin);
    WorkingHistory history(bin);
    {
        WorkingReports past = history.next(records);
        std::vector<ActionRecord> stored;
        mergeReports(std::move(past.files), std::move(past.registry), stored);
        // Stored as Retrace stores a history: with its flags derived.
        Settings settings;
        loadSettings(settings);
        deriveFlags(stored, {buildDataFileExtensions(), settings.szDownloadModules});
        writeFile(bin + "\\actionlist.000", serializeActionList(stored));
    }
    const size_t copies = history.savedCopies().size();
    writeCopies(bin, history.savedCopies(), copies - std::min<size_t>(copies, 20'000), copies);

    Figures figures;
    const double start = now();
    RetraceProcess retrace;
    HWND window = waitForMainWindow(120000);
    waitUntil([&] { return window && trayIconPresent(window); }, 120000);
    figures.startUp = now() - start;
    // The first click comes while start-up's background work may still run,
    // as a person's would.

    for (int run = 0; run < runs; ++run) {
        const size_t before = history.savedCopies().size();
        WorkingReports fresh = history.next(newEntries);
        writeCopies(bin, history.savedCopies(), before, history.savedCopies().size());
        std::string fileReport, registryReport;
        for (const FileReportEntry& entry : fresh.files) fileReport += serializeFileReportEntry(entry);
        for (const RegistryReportEntry& entry : fresh.registry) registryReport += serializeRegistryReportEntry(entry);
        if (!fileReport.empty()) writeFile(bin + "\\filereport.000", fileReport);
        if (!registryReport.empty()) writeFile(bin + "\\regreport.000", registryReport);

        const double click = now();
        PostMessageA(window, WM_USER, 0, WM_LBUTTONDOWN);
        std::vector<HWND> menus;
        while ((menus = menuWindowsOf(retrace.processId())).empty() && now() - click < 60000) Sleep(0);
        figures.toMenu.push_back(now() - click);
        for (HWND menu : menus) PostMessageA(menu, WM_CANCELMODE, 0, 0);
        waitUntilIdle(window);
        figures.toIdle.push_back(now() - click);
        waitUntil([&] { return menuWindowsOf(retrace.processId()).empty(); });
    }
    figures.residentMB = residentMegabytes(retrace.processId());
    figures.listMB = fileMegabytes(bin + "\\actionlist.000");
    unloadRunningRetrace();
    return figures;
}

void print(const char* label, const Figures& figures) {
    std::printf("%-22s start-up %7.1f ms | click to menu:", label, figures.startUp);
    for (double time : figures.toMenu) std::printf(" %6.1f", time);
    std::printf(" | median %6.1f ms | background done after %7.1f ms | resident %6.1f MB, list file %6.1f MB\n",
                median(figures.toMenu), median(figures.toIdle), figures.residentMB, figures.listMB);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string bin = std::string(temp) + "Retrace Click Benchmark";
    CreateDirectoryA(bin.c_str(), nullptr);
    unloadRunningRetrace();
    installDefaultSettingsKey();
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, bin);
    settings.UndoBinSize = 4'000'000'000u;  // nothing is dropped, so every click does the same work
    saveSettings(settings);

    std::printf("Tray click to menu in retrace.exe, %d clicks per history; each click but the empty history's "
                "brings 1,000 new entries\n", runs);
    print("empty history", measure(bin, 0, 0, runs));
    for (size_t records : {10'000, 100'000, 1'000'000}) {
        char label[32];
        std::snprintf(label, sizeof label, "%zu records", records);
        print(label, measure(bin, records, 1'000, runs));
    }

    emptyFolder(bin);
    RemoveDirectoryA(bin.c_str());
    installDefaultSettingsKey();

    std::printf("\nThe steps of a click at 100,000 records:\n");
    std::fflush(stdout);
    // Its figures go to this program's own output.
    std::string commandLine = "\"" + windowsPath(REBUILD_BENCHMARK_EXE) + "\" 100000 20000 1000 " + std::to_string(runs);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION steps;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &steps))
        return 1;
    WaitForSingleObject(steps.hProcess, INFINITE);
    CloseHandle(steps.hThread);
    CloseHandle(steps.hProcess);
    return 0;
}
