#include "engine/redo_win32.h"

#include <windows.h>

#include "browse/file_operations_win32.h"
#include "browse/paths.h"
#include "database/action_list.h"
#include "engine/file_steps_win32.h"
#include "engine/file_transfer_win32.h"
#include "engine/redo_list.h"
#include "settings/settings_lists.h"
#include "settings/settings_store_win32.h"
#include "shell/busy_indicator_win32.h"

std::string redoFolderPath() {
    Settings settings;
    loadSettings(settings);
    return std::string(fieldText(settings.UndoBinPath)) + "\\Redo";
}

void recordForRedo(int index) {
    RedoEntry entry{actionList[index], {}, {}};
    std::string toKeep = fileToKeepForRedo(entry.record);
    if (!toKeep.empty()) {
        std::string kept = redoFolderPath() + "\\" + keptFileName(fileNameOf(toKeep), redoList);
        // The copy makes the Redo folder when an undo comes before any clear did.
        if (copyWholeFile(toKeep, kept, ExistingFile::Replace)) entry.keptPath = kept;
    }
    redoList.push_back(std::move(entry));
}

void keepRestoreFileForRedo(const std::string& restorePath) {
    if (!redoList.empty()) redoList.back().restorePath = restorePath;
}

void redoLastUndo() {
    showBusyIndicator("Redoing...");
    // Undos run newest first, so the list's last entry is the oldest action.
    for (auto entry = redoList.rbegin(); entry != redoList.rend(); ++entry) {
        if (!carryOut(redoStep(*entry)).succeeded) continue;
        ActionRecord record = entry->record;
        record.undone = 0;
        // The saved copy may have been swept from the bin since the undo.
        if ((record.kind == kindDelete || record.kind == kindModify) && !entry->keptPath.empty())
            copyWholeFile(entry->keptPath, record.dataC, ExistingFile::Replace);
        actionList.push_back(std::move(record));
    }
    clearRedo();
    hideBusyIndicator();
}

void clearRedo() {
    std::string folder = redoFolderPath();
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
    redoList.clear();
}
