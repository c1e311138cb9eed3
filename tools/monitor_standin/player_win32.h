#pragma once
// Plays a monitor script against the real files and registry and records
// every change as the change monitors would: entries appended to
// "filereport.000" and "regreport.000" in the Undo Bin, saved copies of
// deleted and overwritten files beside them, and boot markers with their
// Start Over set in the Undo Bin's "SO" folder.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "monitor/registry_report.h"
#include "tools/monitor_standin/script.h"

struct PlayOutcome {
    int entries = 0;                   // report entries written, file and registry alike
    std::optional<ScriptError> error;  // the command that failed; those before it stay played and recorded
};

// Plays the commands in order into the Undo Bin folder `undoBinPath`, which
// is made when missing. Stops at the first command that cannot be carried out.
PlayOutcome playScript(std::span<const ScriptCommand> commands, const std::string& undoBinPath);
