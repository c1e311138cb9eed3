#pragma once
// The rebuild's classifications written the plain way, record by record and
// walking back and forth through the history as the rules read. Slow, and
// only here to check the program's one-pass forms against.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "database/action_record.h"
#include "database/derived_lists.h"

namespace oracle {

struct FlagInputs {
    std::vector<std::string> dataFileExtensions;
    std::string downloadModules;
};

void deriveFlags(std::vector<ActionRecord>& records, const FlagInputs& inputs);

bool isRunStart(std::span<const ActionRecord> records, size_t j);
bool isGroupStart(std::span<const ActionRecord> records, size_t i);
bool isProgramStart(std::span<const ActionRecord> records, size_t j);

std::vector<ProgramEntry> buildProgramList(std::span<const ActionRecord> records);
std::vector<AppletEntry> buildAppletList(std::span<const ActionRecord> records);
std::vector<FileActionGroup> buildFileActionList(std::span<const ActionRecord> records);
ActionIndex buildActionIndex(std::span<const ActionRecord> records);

}  // namespace oracle
