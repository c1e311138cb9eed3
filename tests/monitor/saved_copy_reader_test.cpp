#include "monitor/saved_copy_reader.h"

#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "monitor/saved_copy.h"
#include "tests/engine/sample_content.h"

namespace {

// Serves bytes from memory and remembers the largest read asked of it; it
// can be made to fail once a number of bytes has been served.
class WatchedSource : public ByteSource {
public:
    explicit WatchedSource(std::string_view bytes, size_t failAfter = size_t(-1))
        : memory_(bytes), failAfter_(failAfter) {}
    bool read(std::span<uint8_t> into) override {
        largestRead = std::max(largestRead, into.size());
        if (served_ + into.size() > failAfter_) return false;
        served_ += into.size();
        return memory_.read(into);
    }
    size_t largestRead = 0;

private:
    MemorySource memory_;
    size_t failAfter_;
    size_t served_ = 0;
};

struct ReadResult {
    std::vector<std::string> blocks;  // each block's output, in order
    bool complete = false;
};

ReadResult readAll(std::string_view savedCopy, ByteSource& source) {
    ReadResult result;
    SavedCopyReader reader(source, savedCopy.size());
    if (!reader.readTotal()) return result;
    while (reader.next())
        result.blocks.emplace_back(reinterpret_cast<const char*>(reader.output().data()), reader.output().size());
    result.complete = reader.complete();
    return result;
}

ReadResult readAll(std::string_view savedCopy) {
    WatchedSource source(savedCopy);
    return readAll(savedCopy, source);
}

std::string storedBlock(std::string_view content) {
    std::string block;
    appendLe32(block, uint32_t(4 + content.size()));
    block += std::string("\1\0\0\0", 4);
    block += content;
    return block;
}

std::string withTotal(uint32_t total, std::string blocks) {
    std::string copy;
    appendLe32(copy, total);
    return copy + blocks;
}

}  // namespace

TEST(SavedCopyReader, GivesEachBlocksOutputInTurnAndEndsComplete) {
    std::string content = textLike(70000, 3);
    ReadResult result = readAll(encodeSavedCopy(content, BlockMethod::Compressed, 32768));
    ASSERT_EQ(result.blocks.size(), 3u);
    EXPECT_EQ(result.blocks[0], content.substr(0, 32768));
    EXPECT_EQ(result.blocks[1], content.substr(32768, 32768));
    EXPECT_EQ(result.blocks[2], content.substr(65536));
    EXPECT_TRUE(result.complete);
}

TEST(SavedCopyReader, ATotalOfZeroIsCompleteWithoutABlock) {
    ReadResult result = readAll(encodeSavedCopy(""));
    EXPECT_TRUE(result.blocks.empty());
    EXPECT_TRUE(result.complete);
}

TEST(SavedCopyReader, IsNeverCompleteWhenTheBlocksDoNotMakeTheTotal) {
    struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"total alone", withTotal(3, "")},
        {"blocks short of the total", withTotal(6, storedBlock("abc"))},
        {"a block past the total", withTotal(2, storedBlock("abc"))},
        {"a block after the total is reached", withTotal(3, storedBlock("abc") + storedBlock("d"))},
        {"bytes after the total is reached", withTotal(3, storedBlock("abc") + "xy")},
        {"empty blocks to the end", withTotal(3, storedBlock("") + storedBlock(""))},
        {"a length field cut short", withTotal(3, storedBlock("abc").substr(0, 2))},
        {"a length below the block header", withTotal(3, std::string("\3\0\0\0\1\0\0", 7))},
    };
    for (auto& c : cases) EXPECT_FALSE(readAll(c.bytes).complete) << c.name;
}

TEST(SavedCopyReader, RefusesATotalOrALengthThatTheCopyCannotHoldBeforeReadingForIt) {
    // A total no block behind it could make is refused at once.
    std::string copyWithHugeTotal = withTotal(0xFFFFFFFF, storedBlock("abc"));
    WatchedSource hugeTotal(copyWithHugeTotal);
    SavedCopyReader totalReader(hugeTotal, copyWithHugeTotal.size());
    EXPECT_FALSE(totalReader.readTotal());

    std::string lengthPastTheEnd = withTotal(3, "");
    appendLe32(lengthPastTheEnd, 0xFFFFFFF0);
    lengthPastTheEnd += "\1\0\0\0abc";
    WatchedSource source(lengthPastTheEnd);
    ReadResult result = readAll(lengthPastTheEnd, source);
    EXPECT_FALSE(result.complete);
    EXPECT_LE(source.largestRead, 4u) << "no buffer is read for a length the copy cannot hold";
}

TEST(SavedCopyReader, AReadThatFailsEndsTheReadingIncomplete) {
    std::string copy = encodeSavedCopy(textLike(50000), BlockMethod::Compressed, 10000);
    for (size_t failAfter : {size_t(2), size_t(6), size_t(100), copy.size() - 1}) {
        WatchedSource source(copy, failAfter);
        EXPECT_FALSE(readAll(copy, source).complete) << failAfter;
    }
}

TEST(SavedCopyReader, DecodesTheSameContentAsTheWholeCopyDecoder) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        std::string content = textLike(seed * 3001, seed) + randomBytes(seed * 101, seed);
        std::string copy = encodeSavedCopy(content, BlockMethod::Compressed, 1 + seed * 997);
        ReadResult result = readAll(copy);
        std::string joined;
        for (const std::string& block : result.blocks) joined += block;
        EXPECT_TRUE(result.complete) << seed;
        EXPECT_EQ(joined, content) << seed;
        EXPECT_EQ(decodeSavedCopy(copy), content) << seed;
    }
}

TEST(SavedCopyReader, ACopyWithFlippedBytesNeverYieldsMoreThanItsTotal) {
    std::string good = encodeSavedCopy(textLike(20000, 8), BlockMethod::Compressed, 4000);
    std::mt19937 random(42);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        for (int flips = 1 + int(random() % 3); flips > 0; --flips)
            bytes[random() % bytes.size()] ^= char(1 + random() % 255);
        MemorySource source(bytes);
        SavedCopyReader reader(source, bytes.size());
        if (!reader.readTotal()) continue;
        uint64_t written = 0;
        for (int blocks = 0; reader.next(); ++blocks) {
            written += reader.output().size();
            ASSERT_LE(blocks, 10000) << "the reading ends";
        }
        EXPECT_LE(written, reader.total()) << round;
    }
}
