#pragma once
// Reads a saved copy front to back, one block at a time, so that a copy of
// any size is restored holding only one block and its output in memory.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Where the reader takes the saved copy's bytes from: a file, or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills `into` whole, or answers false.
    virtual bool read(std::span<uint8_t> into) = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    bool read(std::span<uint8_t> into) override;

private:
    std::string_view bytes_;
};

class SavedCopyReader {
public:
    // `size` is the whole saved copy's size in bytes; it bounds every length
    // read from the copy before anything is allocated for it.
    SavedCopyReader(ByteSource& source, uint64_t size) : source_(source), size_(size) {}

    // Reads the total. False when it cannot be read, or when the blocks
    // behind it could never yield that many bytes.
    bool readTotal();
    uint32_t total() const { return total_; }

    // Decodes the next block into output(). False when there is none left
    // to read: complete() then tells whether the whole content came.
    bool next();
    std::span<const uint8_t> output() const { return std::span(output_).first(outputSize_); }

    // The blocks added up to the total exactly and used the copy up. A copy
    // with blocks cut short, damaged, or making more or less than its total
    // is never complete.
    bool complete() const { return totalRead_ && !failed_ && written_ == total_ && consumed_ == size_; }

private:
    bool fail();

    ByteSource& source_;
    const uint64_t size_;
    uint64_t consumed_ = 0;
    uint32_t total_ = 0;
    uint64_t written_ = 0;
    bool totalRead_ = false;
    bool failed_ = false;
    std::vector<uint8_t> block_;  // reused: grows to the largest block, never per block
    std::vector<uint8_t> output_;
    size_t outputSize_ = 0;
};

// The whole earlier content of a saved copy, or nothing when it is damaged:
// shorter than its total, a block cut short or damaged, or blocks whose
// outputs do not add up to the total exactly.
std::optional<std::string> decodeSavedCopy(std::string_view savedCopy);
