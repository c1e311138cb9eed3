#pragma once
// The seven flag slots of a record, from `undone` to `isDownload`, at a byte
// each rather than the four the list file gives them: the program keeps
// only 0, 1 or a small count there, and a long history holds millions.
//
// A file may hold any int32 in them all the same, and a save writes back
// what a load read. So a record with a value outside a byte keeps all seven
// as a stored text instead, which copies of the record share as they share
// their paths.

#include <array>
#include <cstddef>
#include <cstdint>

#include "database/record_text.h"

class RecordFlags {
public:
    static constexpr size_t count = 7;

    using Values = std::array<int32_t, count>;

    int32_t get(size_t slot) const;
    void set(size_t slot, int32_t value);
    Values values() const;
    void assign(const Values& values);

private:
    // Never a narrow value, so it marks the wide form; the stored text's
    // index then lies in the bytes behind it.
    static constexpr int8_t wideMark = INT8_MIN;
    int8_t bytes_[count] = {};
};

static_assert(sizeof(RecordFlags) == RecordFlags::count && sizeof(RecordText) + 1 <= RecordFlags::count);
