#pragma once
// Carries out one step of a file undo or redo on the disk.

#include <string>

#include "engine/file_steps.h"

struct StepOutcome {
    bool succeeded = false;
    // The file the step leaves for the user to look at: the restore file
    // begun beside the target, or the path a file went back to. Empty for
    // recycling and deleting, and for a restore that could not begin.
    std::string resultPath;
};

StepOutcome carryOut(const FileStep& step);
