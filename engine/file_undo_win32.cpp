#include "engine/file_undo_win32.h"

#include <windows.h>

#include "browse/paths.h"
#include "database/action_list.h"
#include "engine/file_steps_win32.h"
#include "engine/redo_win32.h"
#include "engine/settings_undo_win32.h"
#include "monitor/own_work_win32.h"
#include "shell/busy_indicator_win32.h"

std::string undoAction(int index) {
    if (index < 0 || index >= actionCount()) return {};
    ActionRecord& record = actionList[index];
    record.undone = 1;
    // What the undo writes is ours, not the person's: the recorder leaves it out.
    OwnWork ownWork;
    std::string resultPath;
    if (record.isIniFile) {
        undoSettingsFile(index);
    } else if (record.source == sourceRegistryReport) {
        undoRegistryAction(index);
    } else {
        std::string text = "Undoing " + std::string(fileNameOf(record.dataA)) + "...";
        showBusyIndicator(text.c_str());
        resultPath = undoFileAction(index);
    }
    hideBusyIndicator();
    return resultPath;
}

void undoActions(std::span<const int32_t> indices) {
    for (int32_t index : indices)
        if (index >= 0 && index < actionCount() && actionList[index].undone == 0) undoAction(index);
}

std::string undoFileAction(int index) {
    recordForRedo(index);
    FileStep step = undoStep(actionList[index]);
    StepOutcome outcome = carryOut(step);
    if (step.operation == FileStep::Operation::RestoreBeside) keepRestoreFileForRedo(outcome.resultPath);
    if (!outcome.succeeded)
        MessageBoxA(nullptr,
                    "Unable to Undo the file. This happens when the file has been changed after the action the Undo "
                    "was attempted on.",
                    "Undo Error", MB_ICONWARNING | MB_OK);
    return outcome.resultPath;
}
