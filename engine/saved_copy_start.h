#pragma once
// The first bytes of a saved copy's content, for a preview, with whether the
// whole copy reads back: every block is decoded, only the start is kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct SavedCopyStart {
    std::string start;      // at most `limit` bytes of the content, from its beginning
    uint32_t total = 0;     // the content's whole size, as the copy states it
    bool complete = false;  // the whole copy decoded and added up to its total
};

SavedCopyStart readSavedCopyStart(std::string_view savedCopy, size_t limit);
