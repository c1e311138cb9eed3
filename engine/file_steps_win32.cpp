#include "engine/file_steps_win32.h"

#include <windows.h>

#include "engine/file_transfer_win32.h"
#include "engine/restore_win32.h"

StepOutcome carryOut(const FileStep& step) {
    using Operation = FileStep::Operation;
    switch (step.operation) {
    case Operation::Nothing: return {};
    case Operation::Recycle: return {recycleFile(step.from), {}};
    case Operation::RestoreBeside: {
        RestoreOutcome restore = restoreSavedCopy(step.from, step.to);
        return {restore.restored, restore.restorePath};
    }
    case Operation::Move:
        // The folder the file came from may have gone since.
        makeFolders(step.to);
        // MoveFile never replaces a file that holds the name now.
        return {MoveFileA(step.from.c_str(), step.to.c_str()) != FALSE, step.to};
    case Operation::Copy: return {copyWholeFile(step.from, step.to, ExistingFile::Keep), step.to};
    case Operation::CopyThenDelete: {
        // The source goes only once its copy is complete.
        bool copied = copyWholeFile(step.from, step.to, ExistingFile::Keep);
        if (copied) DeleteFileA(step.from.c_str());
        return {copied, step.to};
    }
    case Operation::Delete: return {DeleteFileA(step.from.c_str()) != FALSE, {}};
    }
    return {};
}
