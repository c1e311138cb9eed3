#include "engine/file_undo_win32.h"

#include <windows.h>

#include <vector>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "database/action_list.h"
#include "database/undo_bin_win32.h"
#include "engine/file_steps_win32.h"
#include "engine/redo_win32.h"
#include "engine/settings_undo_win32.h"
#include "engine/undo_progress.h"
#include "monitor/own_work_win32.h"
#include "ui/busy_indicator_win32.h"

namespace {

bool isFileAction(const ActionRecord& record) { return !record.isIniFile() && record.source != sourceRegistryReport; }

void showUndoError(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "Undo Error", MB_ICONWARNING | MB_OK); }

// A Create or Copy whose file is gone already has nothing left to take
// away: the shell would only ask whether to delete what is not there.
bool nothingLeftToTakeAway(const ActionRecord& record) {
    return (record.kind == kindCreate || record.kind == kindCopy) && !fileExists(record.dataA);
}

// A record may name any file as its saved copy; only one in the bin is
// read, so nothing of anyone else's comes back beside the file.
bool earlierVersionAvailable(const FileStep& step) {
    return step.operation != FileStep::Operation::RestoreBeside || isSavedCopyInUndoBin(step.from);
}

// The undo of one file action, without a word on failure.
StepOutcome undoFileQuietly(int index) {
    const ActionRecord& record = actionList[index];
    if (nothingLeftToTakeAway(record)) return {true, {}};
    FileStep step = undoStep(record);
    if (!earlierVersionAvailable(step)) return {};
    // A boot marker is a point in time, nothing redo could repeat.
    if (record.kind != kindBootMarker) recordForRedo(index);
    StepOutcome outcome = carryOut(step);
    if (step.operation == FileStep::Operation::RestoreBeside) keepRestoreFileForRedo(outcome.resultPath);
    return outcome;
}

}  // namespace

std::string undoAction(int index) {
    if (index < 0 || index >= actionCount()) return {};
    ActionRecord& record = actionList[index];
    record.setUndone(1);
    // What the undo writes is ours, not the person's: the recorder leaves it out.
    OwnWork ownWork;
    std::string resultPath;
    if (record.isIniFile()) {
        undoSettingsFile(index);
    } else if (record.source == sourceRegistryReport) {
        undoRegistryAction(index);
    } else {
        showBusyIndicator(undoProgressText(1, 1, fileNameOf(record.dataA)).c_str());
        resultPath = undoFileAction(index);
    }
    hideBusyIndicator();
    return resultPath;
}

void undoActions(std::span<const int32_t> indices) {
    // Counted first, so that the panel can say how far the undo is.
    std::vector<int32_t> toUndo;
    std::vector<bool> listed(size_t(actionCount()), false);
    size_t fileActions = 0;
    for (int32_t index : indices) {
        // Listed twice: a second undo would put a second earlier version beside the first.
        if (index < 0 || index >= actionCount() || actionList[index].undone() != 0 || listed[size_t(index)]) continue;
        listed[size_t(index)] = true;
        toUndo.push_back(index);
        if (isFileAction(actionList[index]) && actionList[index].kind != kindBootMarker) ++fileActions;
    }
    // What the undo writes is ours, not the person's: the recorder leaves it out.
    OwnWork ownWork;
    size_t done = 0;
    std::vector<std::string> failed;
    for (int32_t index : toUndo) {
        ActionRecord& record = actionList[index];
        record.setUndone(1);
        if (record.isIniFile()) {
            undoSettingsFile(index);
        } else if (record.source == sourceRegistryReport) {
            undoRegistryAction(index);
        } else if (record.kind != kindBootMarker) {
            showBusyIndicator(undoProgressText(++done, fileActions, fileNameOf(record.dataA)).c_str());
            if (!undoFileQuietly(index).succeeded) failed.push_back(record.dataA);
        }
    }
    hideBusyIndicator();
    if (!failed.empty()) showUndoError(undoFailuresText(failed));
}

std::string undoFileAction(int index) {
    if (!earlierVersionAvailable(undoStep(actionList[index]))) {
        showUndoError("Unable to Undo the file. Its earlier version is not available.");
        return {};
    }
    StepOutcome outcome = undoFileQuietly(index);
    if (!outcome.succeeded) showUndoError(undoFailedMessage);
    return outcome.resultPath;
}
