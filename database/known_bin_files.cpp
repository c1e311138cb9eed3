#include "database/known_bin_files.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/ignore_case_hash.h"
#include "base/text.h"
#include "database/undo_bin.h"

void KnownBinFiles::replace(std::span<const std::string> fileNames, std::span<const uint64_t> fileSizes) {
    *this = {};
    rebuild(std::bit_ceil(fileNames.size() * 4 / 3 + 1));
    size_t nameBytes = 0;
    for (const std::string& name : fileNames) nameBytes += name.size();
    names_.reserve(nameBytes);
    for (size_t index = 0; index < fileNames.size(); ++index) add(fileNames[index], fileSizes[index]);
}

void KnownBinFiles::add(std::string_view name, uint64_t size) {
    if (isActionListFile(name) || contains(name)) return;
    if ((count_ + 1) * 4 > slots_.size() * 3) {
        rebuild(std::max<size_t>(16, slots_.size() * 2));
    } else if (removedNameBytes_ > names_.size() / 2) {
        // A bin that as many copies leave as come would grow the buffer
        // without end.
        rebuild(slots_.size());
    }
    const auto nameAt = uint32_t(names_.size());
    names_.append(name);
    place({nameAt, uint32_t(name.size()), size});
    ++count_;
    size_ += size;
}

// Linear probing, and on removal the slots behind move up into the gap
// wherever their probe passes it, so a lookup still stops at the first
// unused slot without marks for removed files.
void KnownBinFiles::remove(std::string_view name) {
    size_t gap = find(name);
    if (gap == notFound) return;
    size_ -= slots_[gap].size;
    removedNameBytes_ += slots_[gap].nameLength;
    --count_;
    const size_t mask = slots_.size() - 1;
    for (size_t next = (gap + 1) & mask; slots_[next].nameAt != unused; next = (next + 1) & mask) {
        size_t wanted = home(nameIn(slots_[next]));
        // Whether `wanted` lies cyclically outside (gap, next]: then the
        // probe from it passes the gap, and the slot may move there.
        if (((next - wanted) & mask) >= ((next - gap) & mask)) {
            slots_[gap] = slots_[next];
            gap = next;
        }
    }
    slots_[gap] = {};
}

size_t KnownBinFiles::home(std::string_view name) const { return IgnoreCaseHash{}(name) & (slots_.size() - 1); }

size_t KnownBinFiles::find(std::string_view name) const {
    if (slots_.empty()) return notFound;
    const size_t mask = slots_.size() - 1;
    for (size_t at = home(name); slots_[at].nameAt != unused; at = (at + 1) & mask)
        if (equalsIgnoreCase(nameIn(slots_[at]), name)) return at;
    return notFound;
}

void KnownBinFiles::place(const Slot& slot) {
    const size_t mask = slots_.size() - 1;
    size_t at = home(nameIn(slot));
    while (slots_[at].nameAt != unused) at = (at + 1) & mask;
    slots_[at] = slot;
}

// Into a table of `slotCount` slots, with the names of removed files left
// out of the buffer.
void KnownBinFiles::rebuild(size_t slotCount) {
    std::vector<Slot> old = std::exchange(slots_, std::vector<Slot>(slotCount));
    std::string oldNames = std::exchange(names_, {});
    names_.reserve(oldNames.size() - removedNameBytes_);
    removedNameBytes_ = 0;
    for (const Slot& slot : old) {
        if (slot.nameAt == unused) continue;
        const auto nameAt = uint32_t(names_.size());
        names_.append(oldNames, slot.nameAt, slot.nameLength);
        place({nameAt, slot.nameLength, slot.size});
    }
}
