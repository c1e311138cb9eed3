#include "engine/saved_copy_start.h"

#include <algorithm>

#include "monitor/saved_copy_reader.h"

SavedCopyStart readSavedCopyStart(std::string_view savedCopy, size_t limit) {
    SavedCopyStart result;
    MemorySource source(savedCopy);
    SavedCopyReader reader(source, savedCopy.size());
    if (!reader.readTotal()) return result;
    result.total = reader.total();
    while (reader.next()) {
        std::span<const uint8_t> output = reader.output();
        size_t wanted = std::min(output.size(), limit - result.start.size());
        result.start.append(reinterpret_cast<const char*>(output.data()), wanted);
    }
    result.complete = reader.complete();
    return result;
}
