#include "engine/start_over_win32.h"

#include <windows.h>

#include <vector>

#include "base/text.h"
#include "database/action_list.h"
#include "engine/file_undo_win32.h"
#include "engine/redo_win32.h"
#include "engine/restore_win32.h"
#include "engine/start_over_points.h"
#include "monitor/own_work_win32.h"
#include "monitor/start_over_set.h"
#include "settings/settings_store_win32.h"

void startOverFrom(int firstIndex) {
    std::vector<int32_t> newestFirst;
    for (int index = actionCount() - 1; index >= 0 && index >= firstIndex; --index) newestFirst.push_back(index);
    undoActions(newestFirst);
    clearRedo();
}

void restoreSystemFiles(int markerIndex) {
    if (markerIndex < 0 || markerIndex >= actionCount()) return;
    OwnWork ownWork;
    // The marker's text comes from a report file: it may only name files
    // inside the SO folder.
    const std::string marker = actionList[markerIndex].dataA;
    if (!isStartOverSetName(marker)) return;
    Settings settings;
    loadSettings(settings);
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return;
    for (const StartOverFile& file : startOverSet) {
        std::string saved = std::string(fieldText(settings.UndoBinPath)) + "\\SO\\" + marker + "." + file.extension;
        std::string target = file.inWindowsFolder ? std::string(windows) + "\\" + file.file : file.file;
        restoreSavedCopy(saved, target);
    }
}
