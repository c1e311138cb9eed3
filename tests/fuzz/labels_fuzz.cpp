// Any bytes as a history: the tray menu's labels for its programs, its file
// actions and a redo of its last record, each place abbreviated, and the
// menu they make, with every text in bounds.

#include "base/paths.h"
#include "database/action_list.h"
#include "database/derived_lists.h"
#include "shell/tray_menu.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
bool isFolder(const std::string& path) { return path.ends_with('\\'); }

void requireInBounds(const std::vector<TrayMenuItem>& items) {
    for (const TrayMenuItem& item : items) {
        require(item.text.size() <= 2 * longestMenuLabel);  // every "&" doubled
        requireInBounds(item.items);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RecordTextScratch scratch;  // each input's texts go with it
    std::vector<ActionRecord> records = readableActionRecords(fileBytes(data, size));
    TrayMenuInputs inputs{.actionCount = int(records.size())};
    for (const ProgramEntry& entry : makeProgramList(records)) inputs.programLabels.push_back(programEntryLabel(entry));
    for (const FileActionGroup& group : makeFileActionList(records)) {
        inputs.fileLabels.push_back(fileEntryLabel(group, records, isFolder));
        // A long place keeps at least its file name, or is cut to the limit.
        std::string_view path = records[size_t(group.actions.front())].dataA;
        std::string place = abbreviatePath(path, 20);
        require(place.size() <= 23 || place.ends_with("\\" + std::string(fileNameOf(path))));
    }
    if (!records.empty()) inputs.redo = redoLabel(records.back(), int(records.size()), isFolder);
    requireInBounds(trayMenuLayout(inputs));
    return 0;
}
