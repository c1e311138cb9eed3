#include "database/rebuild_win32.h"

#include <windows.h>

#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/merge_reports.h"
#include "database/undo_bin_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "monitor/reports_win32.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"

namespace {

// Built the first time it is needed and kept, since walking the registered
// file types is slow; built again whenever it comes out empty.
const std::vector<std::string>& dataFileExtensions() {
    static std::vector<std::string> extensions;
    if (extensions.empty()) extensions = buildDataFileExtensions();
    return extensions;
}

void deriveAllFlags() {
    Settings settings;
    loadSettings(settings);
    deriveFlags(actionList, {dataFileExtensions(), settings.szDownloadModules});
}

}  // namespace

void rebuildActions() {
    freeDerivedLists();
    stopLogging();
    if (actionListFileUnread()) {
        deriveAllFlags();
    } else {
        FileReport files = readFileReport(actionList);
        RegistryReport registry = readRegistryReport();
        mergeReports(std::move(files.entries), std::move(registry.entries), actionList);
        deriveAllFlags();
        maintainUndoBin();
        saveActionList();
        // A report that could not be read whole stays for the next rebuild.
        if (files.status != FileReadStatus::Unreadable) DeleteFileA(fileReportPath().c_str());
        if (registry.status != FileReadStatus::Unreadable) DeleteFileA(registryReportPath().c_str());
    }
    startLogging(StartMode::IfEnabled);
    buildDerivedLists(actionList);
}
