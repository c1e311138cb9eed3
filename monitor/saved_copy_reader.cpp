#include "monitor/saved_copy_reader.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"
#include "monitor/saved_copy.h"

namespace {
constexpr uint64_t kLengthFieldSize = 4;
constexpr uint64_t kBlockHeaderSize = 4;
// Each block byte yields at most 8 bytes: a 2-byte reference copies 16.
constexpr uint64_t kMaxExpansion = 8;
}  // namespace

bool MemorySource::read(std::span<uint8_t> into) {
    if (into.size() > bytes_.size()) return false;
    std::memcpy(into.data(), bytes_.data(), into.size());
    bytes_.remove_prefix(into.size());
    return true;
}

bool SavedCopyReader::fail() {
    failed_ = true;
    outputSize_ = 0;
    return false;
}

bool SavedCopyReader::readTotal() {
    uint8_t field[kLengthFieldSize];
    if (size_ < kLengthFieldSize || !source_.read(field)) return fail();
    consumed_ = kLengthFieldSize;
    total_ = readLe32(field);
    if (total_ > kMaxExpansion * (size_ - consumed_)) return fail();
    totalRead_ = true;
    return true;
}

bool SavedCopyReader::next() {
    outputSize_ = 0;
    if (!totalRead_ || failed_) return false;
    if (written_ == total_) {
        // Bytes behind a complete content are a block too many.
        if (consumed_ != size_) fail();
        return false;
    }
    uint8_t field[kLengthFieldSize];
    if (size_ - consumed_ < kLengthFieldSize || !source_.read(field)) return fail();
    consumed_ += kLengthFieldSize;
    uint64_t length = readLe32(field);
    if (length < kBlockHeaderSize || length > size_ - consumed_) return fail();
    if (block_.size() < length) block_.resize(length);
    if (!source_.read({block_.data(), size_t(length)})) return fail();
    consumed_ += length;
    // No block may make more than the content still missing.
    size_t room = size_t(std::min(kMaxExpansion * length, uint64_t(total_) - written_));
    if (output_.size() < room) output_.resize(room);
    auto decoded = decodeBlock({block_.data(), size_t(length)}, {output_.data(), room});
    if (!decoded) return fail();
    written_ += *decoded;
    outputSize_ = *decoded;
    return true;
}

std::optional<std::string> decodeSavedCopy(std::string_view savedCopy) {
    MemorySource source(savedCopy);
    SavedCopyReader reader(source, savedCopy.size());
    if (!reader.readTotal()) return std::nullopt;
    std::string content;
    content.reserve(reader.total());
    while (reader.next()) {
        std::span<const uint8_t> output = reader.output();
        content.append(reinterpret_cast<const char*>(output.data()), output.size());
    }
    if (!reader.complete()) return std::nullopt;
    return content;
}
