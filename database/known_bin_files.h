#pragma once
// The files of the Undo Bin as the last listing found them, kept up to date
// with what the program itself adds and deletes, so a tray click can tell
// the bin's size without listing it. The action list and the file a save
// writes it to are left out: every save changes them, so their sizes are
// asked for when needed.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class KnownBinFiles {
public:
    // The files a listing found, by the same index as their sizes.
    void replace(std::span<const std::string> fileNames, std::span<const uint64_t> fileSizes);
    // Names are compared as the file system does, whatever their case.
    bool contains(std::string_view name) const { return find(name) != notFound; }
    void add(std::string_view name, uint64_t size);
    void remove(std::string_view name);
    // The sum of the known files' sizes.
    uint64_t size() const { return size_; }

private:
    // A bin holds tens of thousands of saved copies: an open table over one
    // buffer of names costs some 50 bytes a file, where a map gave each
    // file a heap block of its own and took some 80.
    struct Slot {
        uint32_t nameAt = unused;
        uint32_t nameLength = 0;
        uint64_t size = 0;
    };
    static constexpr uint32_t unused = UINT32_MAX;
    static constexpr size_t notFound = SIZE_MAX;

    std::string_view nameIn(const Slot& slot) const { return std::string_view(names_).substr(slot.nameAt, slot.nameLength); }
    size_t home(std::string_view name) const;
    size_t find(std::string_view name) const;
    void place(const Slot& slot);
    void rebuild(size_t slotCount);

    std::vector<Slot> slots_;  // a power of two, at most three quarters used
    std::string names_;        // the names of the files, and of removed ones until the next rebuild
    size_t removedNameBytes_ = 0;
    size_t count_ = 0;
    uint64_t size_ = 0;
};
