#include <gtest/gtest.h>

#include <unordered_set>

#include "base/ignore_case_hash.h"

TEST(IgnoreCaseHash, LowersExactlyTheLettersAToZInEveryByteOfAWord) {
    for (int value = 0; value < 256; ++value) {
        unsigned char expected = value >= 'A' && value <= 'Z' ? value + 32 : value;
        for (int position = 0; position < 8; ++position) {
            // The other bytes hold values next to the letters' edges, which a carry would disturb.
            uint64_t filler = 0x5B40615A7B7F80FFull & ~(0xFFull << 8 * position);
            uint64_t word = filler | uint64_t(value) << 8 * position;
            uint64_t lowered = IgnoreCaseHash::lowerAscii(word);
            ASSERT_EQ(uint8_t(lowered >> 8 * position), expected) << value << " at " << position;
            uint64_t others = ~(0xFFull << 8 * position);
            ASSERT_EQ(lowered & others, IgnoreCaseHash::lowerAscii(filler) & others);
        }
    }
    EXPECT_EQ(IgnoreCaseHash::lowerAscii(0x5B40615A7B7F80FFull), 0x5B40617A7B7F80FFull);
}

TEST(IgnoreCaseHash, FindsKeysOfAnyLengthWhateverTheirCase) {
    std::unordered_set<std::string, IgnoreCaseHash, IgnoreCaseEqual> paths{
        "", "a", "C:\\Docs", "c:\\my documents\\report.doc", "C:\\MY DOCUMENTS\\REPORT.DO"};
    EXPECT_EQ(paths.size(), 5u);
    for (std::string_view key : {"", "A", "c:\\docs", "C:\\My Documents\\Report.DOC", "c:\\my documents\\report.do"})
        EXPECT_TRUE(paths.contains(key)) << key;
    for (std::string_view key : {"b", "C:\\Docs\\", "C:\\Docs ", "c:\\my documents\\report.doc "})
        EXPECT_FALSE(paths.contains(key)) << key;
    EXPECT_FALSE(paths.contains(std::string_view("a\0", 2)));
    EXPECT_NE(IgnoreCaseHash{}("["), IgnoreCaseHash{}("{"));
}
