#include "engine/redo_win32.h"

#include <windows.h>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/undo_bin_win32.h"
#include "engine/file_steps_win32.h"
#include "engine/file_transfer_win32.h"
#include "engine/redo_list.h"
#include "monitor/own_work_win32.h"
#include "settings/settings_store_win32.h"
#include "ui/busy_indicator_win32.h"

std::string redoFolderPath() {
    std::string binFolder = undoBinFolderInUse();
    return binFolder.empty() ? "" : binFolder + "\\Redo";
}

void recordForRedo(int index) {
    RedoEntry entry{actionList[index], {}, {}};
    std::string toKeep = fileToKeepForRedo(entry.record);
    std::string redoFolder = redoFolderPath();
    if (!toKeep.empty() && !redoFolder.empty()) {
        std::string kept = redoFolder + "\\" + keptFileName(fileNameOf(toKeep), redoList);
        // The copy makes the Redo folder when an undo comes before any clear did.
        if (copyWholeFile(toKeep, kept, ExistingFile::Replace)) entry.keptPath = kept;
    }
    redoList.push_back(std::move(entry));
}

void keepRestoreFileForRedo(const std::string& restorePath) {
    if (!redoList.empty()) redoList.back().restorePath = restorePath;
}

namespace {

// Whether the saved copy that a redone Delete or Modify names is in the bin,
// put back from the Redo folder when it was swept since the undo. Redo takes
// away the restore file, the other copy of that content, only once this
// holds; a file that holds the copy's name now is never written over.
bool savedCopyInPlace(const RedoEntry& entry) {
    const ActionRecord& record = entry.record;
    if (record.kind != kindDelete && record.kind != kindModify) return true;
    if (!isSavedCopyInUndoBin(record.dataC)) return false;
    if (fileExists(record.dataC)) return true;
    return !entry.keptPath.empty() && copyWholeFile(entry.keptPath, record.dataC, ExistingFile::Keep);
}

}  // namespace

void redoLastUndo() {
    OwnWork ownWork;
    showBusyIndicator("Redoing...");
    // Undos run newest first, so the list's last entry is the oldest action.
    for (auto entry = redoList.rbegin(); entry != redoList.rend(); ++entry) {
        if (!savedCopyInPlace(*entry) || !carryOut(redoStep(*entry)).succeeded) continue;
        ActionRecord record = entry->record;
        record.setUndone(0);
        actionList.push_back(std::move(record));
    }
    clearRedo();
    hideBusyIndicator();
}

void clearRedo() {
    redoList.clear();
    std::string folder = redoFolderPath();
    if (folder.empty()) return;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& name : filesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}
