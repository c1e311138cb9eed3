#include "base/crc32.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/sample_content.h"

using namespace std::string_literals;

TEST(Crc32, GivesTheStandardValuesAndAllOnesForNothing) {
    struct { std::string bytes; uint32_t crc; } cases[] = {
        {"123456789", 0xCBF43926u},  // the standard's check value
        {"a", 0xE8B7BE43u},
        {"\0"s, 0xD202EF8Du},
        {"\xFF\xFF\xFF\xFF"s, 0xFFFFFFFFu},  // ends where nothing starts
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
        {"", 0xFFFFFFFFu},  // not the standard's 0
    };
    for (auto& c : cases) EXPECT_EQ(crc32(c.bytes.data(), c.bytes.size()), c.crc) << c.bytes;
    EXPECT_EQ(crc32(nullptr, 5), 0xFFFFFFFFu);
}

TEST(Crc32, EveryFlippedBitOfATextChangesIt) {
    std::string text = textLike(600);
    uint32_t original = crc32(text.data(), text.size());
    for (size_t i = 0; i < text.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            text[i] = char(text[i] ^ (1 << bit));
            ASSERT_NE(crc32(text.data(), text.size()), original) << "byte " << i << " bit " << bit;
            text[i] = char(text[i] ^ (1 << bit));
        }
}
