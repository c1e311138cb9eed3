#include "monitor/saved_copy.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "base/little_endian.h"

namespace {

constexpr uint8_t kStoredMethod = 1;
constexpr uint8_t kCompressedMethod = 2;  // any value but 1 reads as compressed
constexpr size_t kBlockHeaderSize = 4;    // the method byte and three unused bytes
constexpr size_t kItemsPerFlagWord = 16;
constexpr size_t kMaxDistance = 4095;
constexpr size_t kMaxCount = 16;
// A reference takes two bytes, so one for fewer than three bytes saves nothing.
constexpr size_t kMinCount = 3;
// L must fit its 32 bits with the header counted in.
constexpr size_t kMaxBlockContent = std::numeric_limits<uint32_t>::max() - kBlockHeaderSize;

const uint8_t* bytesOf(std::string_view text) { return reinterpret_cast<const uint8_t*>(text.data()); }

std::optional<size_t> decodeCompressed(std::span<const uint8_t> payload, std::span<uint8_t> out) {
    const uint8_t* in = payload.data();
    const uint8_t* const inEnd = in + payload.size();
    uint8_t* const outBegin = out.data();
    uint8_t* o = outBegin;
    uint8_t* const outEnd = o + out.size();
    while (in != inEnd) {
        // A flag word is only written with at least one item after it, and
        // the shortest item is a 1-byte literal.
        if (inEnd - in < 3) return std::nullopt;
        unsigned flags = readLe16(in);
        in += 2;
        // Sixteen literals in a row go at once.
        if (flags == 0 && size_t(inEnd - in) >= kItemsPerFlagWord && size_t(outEnd - o) >= kItemsPerFlagWord) {
            std::memcpy(o, in, kItemsPerFlagWord);
            in += kItemsPerFlagWord;
            o += kItemsPerFlagWord;
            continue;
        }
        for (size_t item = 0; item < kItemsPerFlagWord && in != inEnd; ++item, flags >>= 1) {
            if ((flags & 1) == 0) {
                if (o == outEnd) return std::nullopt;
                *o++ = *in++;
                continue;
            }
            if (inEnd - in < 2) return std::nullopt;
            size_t distance = size_t(in[0] >> 4) << 8 | in[1];
            size_t count = size_t(in[0] & 15) + 1;
            in += 2;
            if (distance == 0 || distance > size_t(o - outBegin) || count > size_t(outEnd - o)) return std::nullopt;
            // Byte by byte: a copy closer than its count repeats what it has just written.
            const uint8_t* from = o - distance;
            for (size_t i = 0; i < count; ++i) o[i] = from[i];
            o += count;
        }
    }
    return size_t(o - outBegin);
}

// Finds the longest earlier match within one block through chains of
// positions that share a hash of their first three bytes. Positions count
// from the start of the whole content, so one table serves every block
// without clearing: a candidate before the current block ends the search.
class MatchFinder {
public:
    MatchFinder() : head_(size_t(1) << kHashBits, kNone), previous_(kWindow) {}

    struct Match {
        size_t distance = 0;
        size_t count = 0;
    };

    // `data` is the whole content; the match lies in [blockStart, blockEnd).
    Match longest(const uint8_t* data, size_t position, size_t blockStart, size_t blockEnd) const {
        Match best;
        size_t limit = std::min(kMaxCount, blockEnd - position);
        if (limit < kMinCount) return best;
        const uint8_t* here = data + position;
        uint32_t candidate = head_[hashAt(here)];
        for (int depth = 0; depth < kChainDepth && candidate != kNone; ++depth) {
            size_t distance = position - candidate;
            if (candidate < blockStart || distance > kMaxDistance) break;
            const uint8_t* there = data + candidate;
            if (there[best.count] == here[best.count]) {
                size_t count = 0;
                while (count < limit && there[count] == here[count]) ++count;
                if (count > best.count) {
                    best = {distance, count};
                    if (count == limit) break;
                }
            }
            candidate = previous_[candidate % kWindow];
        }
        if (best.count < kMinCount) best = {};
        return best;
    }

    // Needs three bytes at `position`.
    void insert(const uint8_t* data, size_t position) {
        uint32_t& head = head_[hashAt(data + position)];
        previous_[position % kWindow] = head;
        head = uint32_t(position);
    }

private:
    static constexpr int kHashBits = 13;
    static constexpr int kChainDepth = 16;
    // An entry is overwritten only once its position is out of reach.
    static constexpr size_t kWindow = kMaxDistance + 1;
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    static size_t hashAt(const uint8_t* p) {
        uint32_t three = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        return (three * 2654435761u) >> (32 - kHashBits);
    }

    std::vector<uint32_t> head_;
    std::vector<uint32_t> previous_;
};

// Compresses content[blockStart, blockEnd) into `payload`. Returns false
// when the payload would not be smaller than the content.
bool compressBlock(const uint8_t* content, size_t blockStart, size_t blockEnd, MatchFinder& finder,
                   std::vector<uint8_t>& payload) {
    size_t size = blockEnd - blockStart;
    // Every content byte as a literal, plus one flag word per sixteen.
    payload.resize(size + 2 * (size / kItemsPerFlagWord + 1));
    uint8_t* const begin = payload.data();
    uint8_t* w = begin;
    uint8_t* flagWord = nullptr;
    unsigned flags = 0;
    size_t items = kItemsPerFlagWord;
    auto startItem = [&] {
        if (items < kItemsPerFlagWord) return;
        if (flagWord) storeLe16(flagWord, uint16_t(flags));
        flagWord = w;
        w += 2;
        flags = 0;
        items = 0;
    };
    size_t position = blockStart;
    while (position < blockEnd) {
        if (size_t(w - begin) >= size) return false;
        startItem();
        MatchFinder::Match match = finder.longest(content, position, blockStart, blockEnd);
        size_t advance = 1;
        if (match.count == 0) {
            *w++ = content[position];
        } else {
            flags |= 1u << items;
            *w++ = uint8_t(match.distance >> 8 << 4 | (match.count - 1));
            *w++ = uint8_t(match.distance & 0xFF);
            advance = match.count;
        }
        ++items;
        for (size_t next = position + advance; position < next; ++position)
            if (blockEnd - position >= kMinCount) finder.insert(content, position);
    }
    if (flagWord) storeLe16(flagWord, uint16_t(flags));
    payload.resize(size_t(w - begin));
    return payload.size() < size;
}

void appendBlock(std::string& savedCopy, uint8_t method, const uint8_t* payload, size_t size) {
    appendLe32(savedCopy, uint32_t(kBlockHeaderSize + size));
    savedCopy.push_back(char(method));
    savedCopy.append(3, '\0');
    savedCopy.append(reinterpret_cast<const char*>(payload), size);
}

}  // namespace

std::optional<size_t> decodeBlock(std::span<const uint8_t> block, std::span<uint8_t> out) {
    if (block.size() < kBlockHeaderSize) return std::nullopt;
    std::span<const uint8_t> payload = block.subspan(kBlockHeaderSize);
    if (block[0] != kStoredMethod) return decodeCompressed(payload, out);
    if (payload.size() > out.size()) return std::nullopt;
    std::copy(payload.begin(), payload.end(), out.begin());
    return payload.size();
}

std::string encodeSavedCopy(std::string_view content, BlockMethod method, size_t blockSize) {
    blockSize = std::clamp<size_t>(blockSize, 1, kMaxBlockContent);
    const uint8_t* data = bytesOf(content);
    std::string savedCopy;
    appendLe32(savedCopy, uint32_t(content.size()));
    MatchFinder finder;
    std::vector<uint8_t> payload;
    for (size_t start = 0, end = 0; start < content.size(); start = end) {
        end = start + std::min(blockSize, content.size() - start);
        if (method == BlockMethod::Compressed && compressBlock(data, start, end, finder, payload))
            appendBlock(savedCopy, kCompressedMethod, payload.data(), payload.size());
        else
            appendBlock(savedCopy, kStoredMethod, data + start, end - start);
    }
    return savedCopy;
}
