#include "engine/redo_list.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"

std::vector<RedoEntry> redoList;

std::string fileToKeepForRedo(const ActionRecord& record) {
    switch (record.kind) {
    case kindCreate:
    case kindCopy: return record.dataA;
    case kindDelete:
    case kindModify: return record.dataC;
    default: return {};
    }
}

std::string keptFileName(std::string_view fileName, const std::vector<RedoEntry>& entries) {
    auto taken = [&](std::string_view name) {
        return std::any_of(entries.begin(), entries.end(), [&](const RedoEntry& entry) {
            return equalsIgnoreCase(fileNameOf(entry.keptPath), name);
        });
    };
    if (!taken(fileName)) return std::string(fileName);
    PathStem parts = splitExtension(fileName);
    for (int number = 2;; ++number) {
        std::string name = std::string(parts.stem) + " (" + std::to_string(number) + ")" + std::string(parts.extension);
        if (!taken(name)) return name;
    }
}
