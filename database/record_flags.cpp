#include "database/record_flags.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

bool fitsByte(int32_t value) { return value > INT8_MIN && value <= INT8_MAX; }

}  // namespace

int32_t RecordFlags::get(size_t slot) const {
    return bytes_[0] == wideMark ? values()[slot] : bytes_[slot];
}

void RecordFlags::set(size_t slot, int32_t value) {
    if (bytes_[0] != wideMark && fitsByte(value)) {
        bytes_[slot] = int8_t(value);
        return;
    }
    Values all = values();
    all[slot] = value;
    assign(all);
}

RecordFlags::Values RecordFlags::values() const {
    Values all{};
    if (bytes_[0] != wideMark) {
        std::copy(std::begin(bytes_), std::end(bytes_), all.begin());
        return all;
    }
    RecordText stored;
    std::memcpy(&stored, bytes_ + 1, sizeof stored);
    std::memcpy(all.data(), stored.data(), sizeof all);
    return all;
}

// The narrow form whenever every value fits, so that equal flags are equal
// bytes; a stored text never changes, so a wide record given a new value
// gets a text of its own.
void RecordFlags::assign(const Values& all) {
    if (std::all_of(all.begin(), all.end(), fitsByte)) {
        std::copy(all.begin(), all.end(), bytes_);
        return;
    }
    RecordText stored(std::string_view(reinterpret_cast<const char*>(all.data()), sizeof all));
    std::fill(std::begin(bytes_), std::end(bytes_), 0);
    bytes_[0] = wideMark;
    std::memcpy(bytes_ + 1, &stored, sizeof stored);
}
