#include "database/rebuild_win32.h"

#include <windows.h>

#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/history_work.h"
#include "database/merge_reports.h"
#include "database/undo_bin_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "monitor/reports_win32.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"

namespace {

// Built the first time it is needed and kept, since walking the registered
// file types is slow; built again whenever it comes out empty.
std::vector<std::string> extensions;

const std::vector<std::string>& dataFileExtensions() {
    if (extensions.empty()) extensions = buildDataFileExtensions();
    return extensions;
}

// Derives only the records appended since the last rebuild, so a click
// costs what changed rather than the whole history.
FlagDeriver flagDeriver;

void deriveAllFlags() {
    Settings settings;
    loadSettings(settings);
    flagDeriver.derive(actionList, {dataFileExtensions(), settings.szDownloadModules});
}

// How much of each report the last rebuild took in without deleting it, its
// save or its delete having failed. The next rebuild reads only what the
// monitors appended since, so no record is lost or taken in twice.
struct ReportsTakenIn {
    size_t file = 0;
    size_t registry = 0;
};
ReportsTakenIn takenIn;

// Kept from click to click: a report's deletes from the Recycle Bin are
// placed by the history, which is long.
RecycleOriginIndex recycleOrigins;

}  // namespace

void forgetDataFileExtensions() { extensions.clear(); }

namespace {

// Folds the reports into the history. What puts the result on disk (saving
// the list, deleting the reports it took in) runs now when `settleNow` and
// there were reports, else in the background with the rest: the sweep,
// logging again and the lists.
void rebuild(bool settleNow) {
    // This rebuild saves, sweeps and lists again: what the last one left
    // unfinished of those need not hold up the menu.
    supersedeHistoryWork();
    forgetUnsweptUndoBinListing();
    // A recorder that did not answer may still append to the reports and
    // save copies into the bin: its reports are read but kept, and the bin
    // is neither trimmed nor swept until a later click finds it stopped.
    const bool stopped = stopLogging();
    if (actionListFileUnread()) {
        deriveAllFlags();
        startLogging(StartMode::IfEnabled);
    } else {
        const size_t firstNew = actionList.size();
        FileReport files = readFileReport(
            [](std::string_view binPath) { return recycleOrigins.find(actionList, actionListChanges, binPath); },
            takenIn.file);
        RegistryReport registry = readRegistryReport(takenIn.registry);
        PathSpellings asWritten;
        for (FileReportEntry& entry : files.entries)
            if (!entry.otherPathAsWritten.empty()) asWritten.insert(std::move(entry.otherPathAsWritten));
        mergeReports(std::move(files.entries), std::move(registry.entries), actionList);
        deriveAllFlags();
        BinUpkeep upkeep = stopped ? trimUndoBin(firstNew, asWritten) : BinUpkeep{};
        // Records that stayed for their saved copies moved about: derive anew.
        if (upkeep.keptInFront > 0) flagDeriver = FlagDeriver{};
        else if (upkeep.dropped > 0) flagDeriver.droppedFront(actionList, upkeep.dropped);
        // Without reports, and with no session dropped whose saved copies are
        // gone, the list holds nothing the file lacks but what the next load
        // works out again, so even start-up need not wait for the save. The
        // monitors may log meanwhile: a report that appears before that save
        // runs is a new one, and stays.
        const bool reportsRead =
            files.status != FileReadStatus::Missing || registry.status != FileReadStatus::Missing;
        const bool settleAtOnce = settleNow && (reportsRead || upkeep.dropped > 0);
        const bool reportsMayBeNew = settleNow && !reportsRead;
        // A report that could not be read whole stays for the next rebuild.
        const bool deleteFileReport = stopped && files.status != FileReadStatus::Unreadable && !reportsMayBeNew;
        const bool deleteRegistryReport = stopped && registry.status != FileReadStatus::Unreadable && !reportsMayBeNew;
        const size_t fileTaken = files.status == FileReadStatus::Read ? files.size : 0;
        const size_t registryTaken = registry.status == FileReadStatus::Read ? registry.size : 0;
        // A report goes only once the list that holds its records is on disk.
        auto settle = [=] {
            const bool saved = writeActionList(historyWorkSuperseded);
            takenIn.file = saved && deleteFileReport && DeleteFileA(fileReportPath().c_str()) ? 0 : fileTaken;
            takenIn.registry =
                saved && deleteRegistryReport && DeleteFileA(registryReportPath().c_str()) ? 0 : registryTaken;
        };
        auto tidy = [=] {
            // A sweep given up leaves only copies that no record names, for the next.
            if (stopped && !upkeep.swept && !historyWorkSuperseded()) sweepUndoBin();
            startLogging(StartMode::IfEnabled);
        };
        if (settleAtOnce) {
            settle();
            postHistoryWork(tidy);
        } else {
            postHistoryWork([=] {
                settle();
                tidy();
            });
        }
    }
    // Freeing and building the lists of a long history takes longer than
    // the menu may; the menu finds its entries without them.
    postHistoryWork([] { buildDerivedLists(actionList, historyWorkSuperseded); });
}

}  // namespace

void rebuildActionsForMenu() { rebuild(false); }

void rebuildActionsAtStartUp() {
    rebuild(true);
    forgetUndoBinListingAhead();
    // A click whose report deletes a file from the Recycle Bin asks the
    // whole history where it came from; better asked here than by the first.
    postHistoryWork([] { recycleOrigins.extend(actionList, actionListChanges, historyWorkSuperseded); });
}

void rebuildActions() {
    rebuild(false);
    waitForHistoryWork();
}
