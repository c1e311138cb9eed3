#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/sample_content.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kDefaultBlockSize = 32768;

std::optional<std::string> decodeOneBlock(const Bytes& block, size_t outSize) {
    Bytes out(outSize, 0xEE);
    std::optional<size_t> written = decodeBlock(block, out);
    if (!written) return std::nullopt;
    return std::string(out.begin(), out.begin() + std::ptrdiff_t(*written));
}

// A block as it follows its length field: method byte, three unused bytes,
// payload.
Bytes blockOf(uint8_t method, Bytes payload) {
    Bytes block{method, 0xAA, 0xBB, 0xCC};
    block.insert(block.end(), payload.begin(), payload.end());
    return block;
}

void appendLe32(std::string& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(char(value >> shift & 0xFF));
}

uint32_t le32At(const std::string& bytes, size_t offset) {
    auto byte = [&](size_t i) { return uint32_t(uint8_t(bytes[offset + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

void setLe32At(std::string& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes[offset + i] = char(value >> (8 * i) & 0xFF);
}

// The blocks of a well-formed saved copy, each from its method byte on.
std::vector<Bytes> blocksOf(const std::string& savedCopy) {
    std::vector<Bytes> blocks;
    for (size_t offset = 4; offset < savedCopy.size();) {
        uint32_t length = le32At(savedCopy, offset);
        offset += 4;
        blocks.emplace_back(savedCopy.begin() + std::ptrdiff_t(offset),
                            savedCopy.begin() + std::ptrdiff_t(offset + length));
        offset += length;
    }
    return blocks;
}

std::string repeated(std::string_view piece, size_t size) {
    std::string content;
    while (content.size() < size) content += piece;
    content.resize(size);
    return content;
}

}  // namespace

TEST(SavedCopy, EncodedContentDecodesToItselfWithEitherMethod) {
    struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"empty", ""},
        {"one byte", "x"},
        {"random", randomBytes(100000)},
        {"one long run", std::string(100000, 'a')},
        {"short pattern", repeated("abc", 70001)},
        {"text", textLike(200000)},
        {"one block of text", textLike(kDefaultBlockSize)},
        {"one block and one byte of text", textLike(kDefaultBlockSize + 1)},
        {"one block and one byte of random", randomBytes(kDefaultBlockSize + 1)},
        {"every byte value", [] {
             std::string all;
             for (int i = 0; i < 4096; ++i) all.push_back(char(i * 7 % 256));
             return all;
         }()},
    };
    for (auto& c : cases) {
        for (BlockMethod method : {BlockMethod::Compressed, BlockMethod::Stored}) {
            std::optional<std::string> decoded = decodeSavedCopy(encodeSavedCopy(c.content, method));
            ASSERT_TRUE(decoded.has_value()) << c.name;
            EXPECT_EQ(*decoded, c.content) << c.name;
        }
    }
}

TEST(SavedCopy, SmallBlocksRoundTripAtEverySize) {
    std::string text = textLike(300, 7);
    for (size_t blockSize : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(15), size_t(16), size_t(17), size_t(100)}) {
        for (size_t size = 0; size <= text.size(); size += 13) {
            std::string content = text.substr(0, size);
            EXPECT_EQ(decodeSavedCopy(encodeSavedCopy(content, BlockMethod::Compressed, blockSize)), content)
                << blockSize << " " << size;
        }
    }
}

TEST(SavedCopy, EmptyContentIsTheTotalAloneAndDecodesToEmptyContent) {
    std::string savedCopy = encodeSavedCopy("");
    EXPECT_EQ(savedCopy, std::string(4, '\0'));
    std::optional<std::string> decoded = decodeSavedCopy(savedCopy);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, "");
}

TEST(SavedCopy, ContentIsCutIntoBlocksOfAtMostTheBlockSize) {
    struct {
        size_t size;
        std::vector<uint32_t> lengths;
    } cases[] = {
        {kDefaultBlockSize, {4 + kDefaultBlockSize}},
        {kDefaultBlockSize + 1, {4 + kDefaultBlockSize, 4 + 1}},
        {3 * kDefaultBlockSize - 1, {4 + kDefaultBlockSize, 4 + kDefaultBlockSize, 4 + kDefaultBlockSize - 1}},
    };
    for (auto& c : cases) {
        std::string savedCopy = encodeSavedCopy(randomBytes(c.size), BlockMethod::Stored);
        EXPECT_EQ(le32At(savedCopy, 0), c.size);
        std::vector<uint32_t> lengths;
        for (const Bytes& block : blocksOf(savedCopy)) lengths.push_back(uint32_t(block.size()));
        EXPECT_EQ(lengths, c.lengths) << c.size;
    }
}

TEST(SavedCopy, StoredBlockHoldsTheContentAfterMethodOneAndThreeZeroBytes) {
    std::string savedCopy = encodeSavedCopy("hello", BlockMethod::Stored);
    EXPECT_EQ(savedCopy, std::string("\5\0\0\0\x09\0\0\0\1\0\0\0hello", 17));
}

TEST(SavedCopy, CompressedBlocksShrinkTextAndRandomBlocksFallBackToStored) {
    std::string content = textLike(2 * kDefaultBlockSize) + randomBytes(kDefaultBlockSize);
    std::string savedCopy = encodeSavedCopy(content);
    std::vector<Bytes> blocks = blocksOf(savedCopy);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_NE(blocks[0][0], 1);
    EXPECT_NE(blocks[1][0], 1);
    EXPECT_LT(blocks[0].size(), kDefaultBlockSize / 2);
    EXPECT_EQ(blocks[2][0], 1);
    EXPECT_EQ(blocks[2].size(), 4 + kDefaultBlockSize);
}

TEST(SavedCopy, ALongRunBecomesOneLiteralAndReferencesOfDistanceOneAndCountSixteen) {
    Bytes block = blocksOf(encodeSavedCopy(std::string(1 + 15 * 16, 'a'))).at(0);
    Bytes expected = blockOf(block[0], {0xFE, 0xFF, 'a'});
    for (int i = 0; i < 15; ++i) expected.insert(expected.end(), {0x0F, 0x01});
    expected[1] = expected[2] = expected[3] = 0;
    EXPECT_EQ(block, expected);
}

TEST(SavedCopy, EveryBlockDecodesByItself) {
    // Repeats every 1000 bytes, so a reference into an earlier block would pay.
    std::string content = repeated(textLike(1000, 3), 10000);
    std::string savedCopy = encodeSavedCopy(content, BlockMethod::Compressed, 2500);
    std::vector<Bytes> blocks = blocksOf(savedCopy);
    ASSERT_EQ(blocks.size(), 4u);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_NE(blocks[i][0], 1);
        EXPECT_EQ(decodeOneBlock(blocks[i], 2500), content.substr(i * 2500, 2500)) << i;
    }
}

TEST(DecodeBlock, ReadsFlagBitsLowestFirstAndTheDistanceFromTheHighNibble) {
    // Flags 0b1000: three literals, then a reference of distance 3, count 3.
    EXPECT_EQ(decodeOneBlock(blockOf(2, {0x08, 0x00, 'a', 'b', 'c', 0x02, 0x03}), 100), "abcabc");

    // 272 literals (bytes 0 to 255, 0 to 15) in seventeen all-literal
    // groups, then b0 0x14, b1 0x00: distance 1 * 256 + 0, count 4 + 1.
    Bytes payload;
    for (int group = 0; group < 17; ++group) {
        payload.insert(payload.end(), {0x00, 0x00});
        for (int i = 0; i < 16; ++i) payload.push_back(uint8_t(group * 16 + i));
    }
    payload.insert(payload.end(), {0x01, 0x00, 0x14, 0x00});
    std::optional<std::string> decoded = decodeOneBlock(blockOf(0, payload), 1000);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 277u);
    EXPECT_EQ(decoded->substr(272), std::string("\x10\x11\x12\x13\x14"));
}

TEST(DecodeBlock, ReadsANewFlagWordAfterSixteenItems) {
    // 'a', fifteen references of distance 1 and count 16, then a new flag
    // word: one reference of count 1 and the literal 'b'.
    Bytes payload{0xFE, 0xFF, 'a'};
    for (int i = 0; i < 15; ++i) payload.insert(payload.end(), {0x0F, 0x01});
    payload.insert(payload.end(), {0x01, 0x00, 0x00, 0x01, 'b'});
    EXPECT_EQ(decodeOneBlock(blockOf(0xFF, payload), 300), std::string(242, 'a') + "b");
}

TEST(DecodeBlock, MethodOneIsStoredAndEveryOtherMethodIsCompressed) {
    Bytes payload{0x08, 0x00, 'a', 'b', 'c', 0x02, 0x03};
    EXPECT_EQ(decodeOneBlock(blockOf(1, payload), 100), std::string(payload.begin(), payload.end()));
    for (uint8_t method : {0, 2, 3, 0x80, 0xFF})
        EXPECT_EQ(decodeOneBlock(blockOf(method, payload), 100), "abcabc") << int(method);
}

TEST(DecodeBlock, OutputThatFillsTheOutputExactlyIsWhole) {
    EXPECT_EQ(decodeOneBlock(blockOf(1, {'a', 'b'}), 2), "ab");
    EXPECT_EQ(decodeOneBlock(blockOf(2, {0x08, 0x00, 'a', 'b', 'c', 0x02, 0x03}), 6), "abcabc");
    EXPECT_EQ(decodeOneBlock(blockOf(1, {}), 0), "");
    EXPECT_EQ(decodeOneBlock(blockOf(2, {}), 0), "");
}

TEST(DecodeBlock, LeavesTheOutputBeyondWhatItWroteAlone) {
    Bytes out(20, 0xEE);
    ASSERT_EQ(decodeBlock(blockOf(2, {0x08, 0x00, 'a', 'b', 'c', 0x02, 0x03}), out), 6u);
    EXPECT_EQ(Bytes(out.begin() + 6, out.end()), Bytes(14, 0xEE));
}

TEST(DecodeBlock, DamagedBlocksGiveNothing) {
    struct {
        const char* name;
        Bytes block;
        size_t outSize;
    } cases[] = {
        {"no header", {}, 100},
        {"header cut short", {2, 0, 0}, 100},
        {"flag word cut short", blockOf(2, {0x00}), 100},
        {"flag word with no item", blockOf(2, {0x00, 0x00}), 100},
        {"second flag word with no item", blockOf(2, [] {
             Bytes payload{0x00, 0x00};
             payload.insert(payload.end(), 16, 'x');
             payload.insert(payload.end(), {0x00, 0x00});
             return payload;
         }()),
         100},
        {"reference with no output before it", blockOf(2, {0x01, 0x00, 0x00, 0x01}), 100},
        {"distance 0", blockOf(2, {0x02, 0x00, 'a', 0x00, 0x00}), 100},
        {"distance 0 with count 16", blockOf(2, {0x02, 0x00, 'a', 0xF0, 0x00}), 100},
        {"distance one past the output", blockOf(2, {0x04, 0x00, 'a', 'b', 0x00, 0x03}), 100},
        {"largest distance", blockOf(2, {0x02, 0x00, 'a', 0xFF, 0xFF}), 100},
        {"reference cut after b0", blockOf(2, {0x02, 0x00, 'a', 0x00}), 100},
        {"literal past the output", blockOf(2, {0x00, 0x00, 'a', 'b', 'c'}), 2},
        {"literal into no output", blockOf(2, {0x00, 0x00, 'a'}), 0},
        {"reference past the output", blockOf(2, {0x02, 0x00, 'a', 0x0F, 0x01}), 16},
        {"stored payload past the output", blockOf(1, {'a', 'b', 'c'}), 2},
    };
    for (auto& c : cases) EXPECT_EQ(decodeOneBlock(c.block, c.outSize), std::nullopt) << c.name;
}

TEST(DecodeSavedCopy, DamagedCopiesGiveNothing) {
    const std::string content = textLike(3000, 5);
    const std::string good = encodeSavedCopy(content, BlockMethod::Compressed, 1000);
    ASSERT_EQ(decodeSavedCopy(good), content);
    const size_t firstLength = 4;
    const size_t lastLength = good.size() - 4 - blocksOf(good).back().size();
    auto withLe32 = [&](size_t offset, uint32_t value) {
        std::string bytes = good;
        setLe32At(bytes, offset, value);
        return bytes;
    };
    std::string oneBlockTooMany = good;
    appendLe32(oneBlockTooMany, 5);
    oneBlockTooMany += std::string("\1\0\0\0x", 5);
    // One byte more, copied from the byte before this block's own output.
    std::string referenceBeforeTheBlock = withLe32(0, le32At(good, 0) + 1);
    appendLe32(referenceBeforeTheBlock, 8);
    referenceBeforeTheBlock += std::string("\2\0\0\0\1\0\0\1", 8);

    struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"total cut short", good.substr(0, 3)},
        {"total alone", good.substr(0, 4)},
        {"length cut short", good.substr(0, 6)},
        {"last length cut short", good.substr(0, lastLength + 3)},
        {"last block cut short", good.substr(0, good.size() - 1)},
        {"last block missing", good.substr(0, lastLength)},
        {"total one more than the blocks", withLe32(0, le32At(good, 0) + 1)},
        {"total one less than the blocks", withLe32(0, le32At(good, 0) - 1)},
        {"total beyond what the file could hold", withLe32(0, 0xFFFFFFFF)},
        {"a block after the total is reached", oneBlockTooMany},
        {"reference before the block's own output", referenceBeforeTheBlock},
        {"length 0", withLe32(firstLength, 0)},
        {"length 3", withLe32(firstLength, 3)},
        {"length one past the end", withLe32(firstLength, uint32_t(good.size() - firstLength - 4 + 1))},
        {"length 2^32 - 1", withLe32(firstLength, 0xFFFFFFFF)},
        {"length that wraps the offset to the next block", withLe32(firstLength, uint32_t(-8))},
        {"last length 2^32 - 4", withLe32(lastLength, 0xFFFFFFFC)},
    };
    for (auto& c : cases) EXPECT_EQ(decodeSavedCopy(c.bytes), std::nullopt) << c.name;
}

TEST(DecodeSavedCopy, EveryCopyCutShortGivesNothing) {
    std::string content = textLike(5000, 9);
    std::string good = encodeSavedCopy(content, BlockMethod::Compressed, 1000);
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_EQ(decodeSavedCopy(good.substr(0, size)), std::nullopt) << size;
}

TEST(DecodeSavedCopy, IgnoresTheUnreadHeaderBytesAndTakesAnyMethodButOneAsCompressed) {
    std::string savedCopy;
    appendLe32(savedCopy, 9);
    appendLe32(savedCopy, 4 + 3);
    savedCopy += std::string("\1\xFF\xFF\xFFxyz", 7);
    appendLe32(savedCopy, 4 + 7);
    savedCopy += std::string("\x7F\x01\x02\x03\x08\x00" "abc\x02\x03", 11);
    EXPECT_EQ(decodeSavedCopy(savedCopy), "xyzabcabc");
}
