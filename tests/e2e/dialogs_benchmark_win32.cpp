// How long Retrace's largest dialogs take to show under Wine: the program
// undo dialog of one program with 10,000 and 100,000 file actions in runs of
// 100, the confirmation of undoing every one of its sessions ("Undo session
// and Files" on the oldest), and a sort of its files by name. The target is
// 300 ms for 100,000 rows to show. It prints figures and is no test.
//
//   dialogs_wine_benchmark.exe [runs]     (default 3 of each)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/automation_win32.h"
#include "tests/e2e/dialog_driver_win32.h"
#include "tests/e2e/large_history_win32.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

void emptyFolder(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

struct Figures {
    std::vector<double> open, confirm, sort;
};

void measure(const std::string& bin, size_t records, int runs) {
    emptyFolder(bin);
    storeHistory(bin, writerCreates("C:\\Retrace Benchmark Docs", records, 100));
    RetraceProcess retrace;
    HWND window = waitForMainWindow(120000);
    if (!window || !waitUntilIdle(window, 120000)) return;

    Figures figures;
    for (int run = 0; run < runs; ++run) {
        double start = now();
        HWND dialog = openByCommand(window, IDM_PROGRAM_FIRST, "Undo Program - Writer");
        if (!dialog) break;
        // The dialog shows once it has filled its lists: a paint answered is a paint done.
        waitUntil([&] { return IsWindowVisible(dialog); });
        SendMessageA(dialog, WM_NULL, 0, 0);
        figures.open.push_back(now() - start);

        DialogList files(dialog, IDC_PROGRAM_FILES);
        const std::string top = files.cell(0, 0);
        start = now();
        files.clickHeader(0);
        waitUntil([&] { return files.cell(0, 0) != top; }, 120000);
        figures.sort.push_back(now() - start);

        DialogList sessions(dialog, IDC_PROGRAM_SESSIONS);
        sessions.clickRow(0);
        waitUntil([&] { return controlShown(dialog, IDC_UNDO_SESSION_AND_FILES); });
        sessions.setSelected(sessions.rowCount() - 1, true);  // the oldest: every session is undone
        start = now();
        pressButton(dialog, IDC_UNDO_SESSION_AND_FILES);
        HWND confirmation = waitForDialog("Confirm undo of session", 120000);
        figures.confirm.push_back(now() - start);
        if (confirmation) {
            pressButton(confirmation, IDCANCEL);
            waitForClose(confirmation);
        }
        pressButton(dialog, IDCANCEL);
        waitForClose(dialog);
    }
    unloadRunningRetrace();
    std::printf("%7zu records | program dialog shows %7.1f ms | confirmation of all sessions %7.1f ms | "
                "sort by name %7.1f ms (medians of %d)\n",
                records, median(figures.open), median(figures.confirm), median(figures.sort), runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string bin = std::string(temp) + "Retrace Dialogs Benchmark";
    CreateDirectoryA(bin.c_str(), nullptr);
    unloadRunningRetrace();
    installDefaultSettingsKey();
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, bin);
    settings.UndoBinSize = 4'000'000'000u;
    setFieldText(settings.szFileExts, "DOC");  // Wine registers no document types
    saveSettings(settings);

    std::printf("The program undo dialog under Wine (target: 100,000 rows show within 300 ms)\n");
    for (size_t records : {10'000, 100'000}) measure(bin, records, runs);

    emptyFolder(bin);
    RemoveDirectoryA(bin.c_str());
    installDefaultSettingsKey();
    return 0;
}
