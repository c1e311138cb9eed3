// The whole tray-click rebuild against real files: a stored history, fresh
// reports from both monitors and an Undo Bin of saved copies, in a temporary
// bin that the settings name. Prints the first rebuild, as at start-up, then
// milliseconds per tray click until the menu can show and until the work
// left to the background is done, then a click step by step in the
// rebuild's order, to show where the time goes.
//
//   rebuild_wine_benchmark.exe [records [bin files [report entries [runs]]]]
//
// Defaults: 100,000 records, 20,000 files, 1,000 entries, 7 runs.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/history_work.h"
#include "database/merge_reports.h"
#include "database/rebuild_win32.h"
#include "database/undo_bin.h"
#include "database/undo_bin_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "monitor/reports_win32.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"
#include "shell/tray_menu.h"
#include "tests/database/working_history.h"
#include "tests/support/benchmark_clock_win32.h"
#include "tests/support/settings_key_win32.h"

namespace {

bool writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return whole;
}

void emptyFolder(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

struct Options {
    size_t records = 100'000;
    size_t binFiles = 20'000;
    size_t reportEntries = 1'000;
    int runs = 7;
};

Options readOptions(int argc, char** argv) {
    Options options;
    if (argc > 1) options.records = std::strtoull(argv[1], nullptr, 10);
    if (argc > 2) options.binFiles = std::strtoull(argv[2], nullptr, 10);
    if (argc > 3) options.reportEntries = std::strtoull(argv[3], nullptr, 10);
    if (argc > 4) options.runs = std::max(1, std::atoi(argv[4]));
    return options;
}

// Everything a rebuild starts from, made once and put back before every run.
class Bench {
public:
    Bench(const Options& options, std::string bin) : options_(options), bin_(std::move(bin)) {}

    void setUp() {
        double start = now();
        installDefaultSettingsKey();
        CreateDirectoryA(bin_.c_str(), nullptr);
        emptyFolder(bin_);
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.UndoBinPath, bin_);
        settings.UndoBinSize = 4'000'000'000u;  // no boot session is dropped, so every run does the same work
        saveSettings(settings);
        downloadModules_ = settings.szDownloadModules;

        double walk = now();
        extensions_ = buildDataFileExtensions();
        extensionsMilliseconds_ = now() - walk;

        WorkingReports past = history_.next(options_.records);
        files_ = undoBinFiles(history_, options_.binFiles, options_.reportEntries);

        mergeReports(std::move(past.files), std::move(past.registry), stored_);
        deriveFlags(stored_, {extensions_, downloadModules_});
        actionList = stored_;
        expectedRecords_ = stored_.size();
        saveActionList();

        const std::string content(512, 's');
        for (const std::string& name : files_.named) writeFile(bin_ + "\\" + name, content);
        namedFiles_ = files_.named.size();
        std::printf("Set up in %.1f s: %zu records stored, %zu saved copies named by records and %zu of a lost"
                    " report (swept each run)\n",
                    (now() - start) / 1000, stored_.size(), files_.named.size(), files_.orphans.size());
        std::printf("Walking the registered file types (first rebuild only): %.1f ms\n", extensionsMilliseconds_);
    }

    // What a tray click finds: the history as the last rebuild left it, both
    // reports with new entries, the saved copies they name, and the copies
    // that no record names.
    void prepareRun() {
        const size_t copiesBefore = history_.savedCopies().size();
        WorkingReports fresh = history_.next(options_.reportEntries);
        freshRecords_ = fresh.files.size() + fresh.registry.size();
        std::string fileReport, registryReport;
        for (const FileReportEntry& entry : fresh.files) fileReport += serializeFileReportEntry(entry);
        for (const RegistryReportEntry& entry : fresh.registry) registryReport += serializeRegistryReportEntry(entry);
        writeFile(fileReportPath(), fileReport);
        writeFile(registryReportPath(), registryReport);
        const std::string named(512, 's'), orphan(512, 'o');
        for (size_t index = copiesBefore; index < history_.savedCopies().size(); ++index)
            writeFile(bin_ + "\\" + history_.savedCopies()[index], named);
        namedFiles_ += history_.savedCopies().size() - copiesBefore;
        for (const std::string& name : files_.orphans) writeFile(bin_ + "\\" + name, orphan);
    }

    // The rebuild left what it should: the reports in the history, the
    // orphans and the reports gone, everything named kept.
    bool checkRun() {
        expectedRecords_ += freshRecords_;
        size_t files = filesIn(bin_).size();
        size_t expectedFiles = namedFiles_ + 1;  // and the action list
        if (actionList.size() == expectedRecords_ && files == expectedFiles) return true;
        std::printf("Unexpected result: %zu records (expected %zu), %zu files in the bin (expected %zu)\n",
                    actionList.size(), expectedRecords_, files, expectedFiles);
        return false;
    }

    // The first rebuild, as at start-up: it lists the bin and derives every
    // record.
    bool firstRebuild() {
        prepareRun();
        double start = now();
        rebuildActions();
        std::printf("First rebuild, as at start-up: %.1f ms (it walks the registered file types, lists the bin and"
                    " derives every record)\n", now() - start);
        return checkRun();
    }

    bool timeClicks() {
        std::vector<double> toMenu, toIdle;
        std::printf("rebuildActionsForMenu(), ms until the menu can show:");
        for (int run = 0; run < options_.runs; ++run) {
            prepareRun();
            double start = now();
            rebuildActionsForMenu();
            toMenu.push_back(now() - start);
            waitForHistoryWork();
            toIdle.push_back(now() - start);
            std::printf(" %.1f", toMenu.back());
            if (!checkRun()) return false;
        }
        std::printf("\n  median %.1f ms; the background work done after %.1f ms\n", median(toMenu), median(toIdle));
        return true;
    }

    // A click's steps in the rebuild's own order, each timed: those before
    // the menu, then those left to the background.
    bool timeSteps() {
        const char* names[] = {"read reports",
                               "merge",
                               "derive new records",
                               "trim from last listing",
                               "newest entries for the menu",
                               "settings reads, logging",
                               "save (background)",
                               "delete reports (background)",
                               "sweep (background)",
                               "derived lists (background)"};
        enum { readReports, merge, derive, trim, newest, other, save, deleteReports, sweep, lists };
        std::vector<std::vector<double>> times(std::size(names));
        std::vector<double> menuTotals, totals;
        for (int run = 0; run < options_.runs; ++run) {
            prepareRun();
            std::vector<double> spent(std::size(names));
            const double start = now();
            double mark = start;
            auto lap = [&](size_t step) {
                double at = now();
                spent[step] += at - mark;
                mark = at;
            };
            stopLogging();
            lap(other);
            const size_t firstNew = actionList.size();
            FileReport files = readFileReport(recycledFrom(actionList));
            RegistryReport registry = readRegistryReport();
            PathSpellings asWritten;
            for (FileReportEntry& entry : files.entries)
                if (!entry.otherPathAsWritten.empty()) asWritten.insert(std::move(entry.otherPathAsWritten));
            lap(readReports);
            mergeReports(std::move(files.entries), std::move(registry.entries), actionList);
            lap(merge);
            Settings settings;
            loadSettings(settings);
            deriver_.derive(actionList, {extensions_, settings.szDownloadModules});
            lap(derive);
            trimUndoBin(firstNew, asWritten);
            lap(trim);
            newestProgramEntries(actionList, entriesPerSection);
            newestFileActionGroups(actionList, entriesPerSection);
            newestAppletPaths(actionList, entriesPerSection);
            lap(newest);
            menuTotals.push_back(mark - start);
            writeActionList();
            lap(save);
            DeleteFileA(fileReportPath().c_str());
            DeleteFileA(registryReportPath().c_str());
            lap(deleteReports);
            sweepUndoBin();
            lap(sweep);
            startLogging(StartMode::IfEnabled);
            lap(other);
            buildDerivedLists(actionList);
            lap(lists);
            totals.push_back(mark - start);
            for (size_t step = 0; step < spent.size(); ++step) times[step].push_back(spent[step]);
            if (!checkRun()) return false;
        }
        std::printf("Step by step, median of %d clicks:\n", options_.runs);
        for (size_t step = 0; step < times.size(); ++step)
            std::printf("  %-30s %8.1f ms\n", names[step], median(times[step]));
        std::printf("  %-30s %8.1f ms\n", "until the menu can show", median(menuTotals));
        std::printf("  %-30s %8.1f ms\n", "total", median(totals));
        return true;
    }

    void tearDown() {
        freeDerivedLists();
        actionList.clear();
        emptyFolder(bin_);
        RemoveDirectoryA(bin_.c_str());
        installDefaultSettingsKey();
    }

private:
    Options options_;
    std::string bin_;
    std::vector<std::string> extensions_;
    std::string downloadModules_;
    double extensionsMilliseconds_ = 0;
    std::vector<ActionRecord> stored_;
    WorkingHistory history_{bin_};
    size_t freshRecords_ = 0;
    size_t expectedRecords_ = 0;
    size_t namedFiles_ = 0;
    FlagDeriver deriver_;
    UndoBinFiles files_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options = readOptions(argc, argv);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Bench bench(options, std::string(temp) + "Retrace Rebuild Benchmark");
    std::printf("Rebuild of %zu records with %zu report entries, Undo Bin of up to %zu files\n", options.records,
                options.reportEntries, options.binFiles);
    bench.setUp();
    bool sound = bench.firstRebuild() && bench.timeClicks() && bench.timeSteps();
    bench.tearDown();
    return sound ? 0 : 1;
}
