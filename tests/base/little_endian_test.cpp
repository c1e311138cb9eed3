#include "base/little_endian.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::string_literals;

std::vector<uint8_t> unsignedBytes(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

// Both widths through one set of calls, so that one table holds every case.
template <FileByte Byte>
uint32_t readLe(size_t width, const Byte* p) {
    return width == 2 ? readLe16(p) : readLe32(p);
}

template <FileByte Byte>
Byte* storeLe(size_t width, Byte* p, uint32_t value) {
    return width == 2 ? storeLe16(p, uint16_t(value)) : storeLe32(p, value);
}

void appendLe(size_t width, std::string& out, uint32_t value) {
    if (width == 2)
        appendLe16(out, uint16_t(value));
    else
        appendLe32(out, value);
}

}  // namespace

TEST(LittleEndian, ValuesReadAndWriteLowByteFirstInBothByteTypes) {
    // Bytes with the top bit set are where a signed `char` would spill into
    // the bytes above it.
    const struct {
        uint32_t value;
        std::string bytes;
    } cases[] = {
        {0, "\x00\x00"s},
        {0x00FF, "\xFF\x00"s},
        {0x1234, "\x34\x12"s},
        {0x8000, "\x00\x80"s},
        {0xFFFF, "\xFF\xFF"s},
        {0, "\x00\x00\x00\x00"s},
        {1, "\x01\x00\x00\x00"s},
        {0x80, "\x80\x00\x00\x00"s},
        {0x12345678, "\x78\x56\x34\x12"s},
        {0x80808080, "\x80\x80\x80\x80"s},
        {0x7FFFFFFF, "\xFF\xFF\xFF\x7F"s},
        {0x80000000, "\x00\x00\x00\x80"s},
        {0xFFFFFFFF, "\xFF\xFF\xFF\xFF"s},
    };
    for (auto& c : cases) {
        const size_t width = c.bytes.size();
        SCOPED_TRACE(testing::Message() << width << " bytes, 0x" << std::hex << c.value);
        EXPECT_EQ(readLe(width, c.bytes.data()), c.value);
        EXPECT_EQ(readLe(width, unsignedBytes(c.bytes).data()), c.value);

        std::string stored(width, '?');
        EXPECT_EQ(storeLe(width, stored.data(), c.value), stored.data() + width);
        EXPECT_EQ(stored, c.bytes);
        std::vector<uint8_t> storedUnsigned(width);
        storeLe(width, storedUnsigned.data(), c.value);
        EXPECT_EQ(storedUnsigned, unsignedBytes(c.bytes));

        std::string appended = "x";
        appendLe(width, appended, c.value);
        EXPECT_EQ(appended, "x" + c.bytes);
    }
}

TEST(LittleEndian, APartIsItsLengthThenItsBytesWhetherStoredOrAppended) {
    for (std::string part : {""s, "abc"s, "a\0b"s, std::string(300, '\xFF')}) {
        const std::string expected = std::string{char(part.size()), char(part.size() >> 8), 0, 0} + part;
        std::string appended;
        appendPart(appended, part);
        EXPECT_EQ(appended, expected);
        std::string stored(4 + part.size(), '?');
        EXPECT_EQ(storePart(stored.data(), part), stored.data() + stored.size());
        EXPECT_EQ(stored, expected);
    }
}

TEST(ByteCursor, ReadsBackWhatWasWrittenInOrderAndThenIsAtTheEnd) {
    std::string bytes = "NAME";
    appendLe16(bytes, 0xBEEF);
    appendLe32(bytes, 0xFFFFFFFE);
    appendPart(bytes, "path");
    appendPart(bytes, "");
    appendLe32(bytes, 7);

    ByteCursor in(bytes);
    std::string_view name, path, empty;
    uint16_t date = 0;
    int32_t signedValue = 0;
    uint32_t last = 0;
    ASSERT_TRUE(in.take(4, name) && in.le16(date) && in.le32(signedValue) && in.part(path) && in.part(empty) &&
                in.le32(last));
    EXPECT_EQ(name, "NAME");
    EXPECT_EQ(date, 0xBEEF);
    EXPECT_EQ(signedValue, -2);
    EXPECT_EQ(path, "path");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(last, 7u);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.remaining(), 0u);
}

// Each read against every count of remaining bytes: it succeeds from exactly
// its size on, and below that answers false with the cursor where it was.
TEST(ByteCursor, AReadWithTooFewBytesAnswersFalseAndTakesNothing) {
    std::string withPart;
    appendPart(withPart, "abc");
    const std::string source = withPart + "tail";
    struct Read {
        const char* name;
        size_t needs;
        bool (*read)(ByteCursor&);
    } reads[] = {
        {"le16", 2, [](ByteCursor& in) { uint16_t v; return in.le16(v); }},
        {"le32", 4, [](ByteCursor& in) { uint32_t v; return in.le32(v); }},
        {"le32 signed", 4, [](ByteCursor& in) { int32_t v; return in.le32(v); }},
        {"take 5", 5, [](ByteCursor& in) { std::string_view v; return in.take(5, v); }},
        {"part", withPart.size(), [](ByteCursor& in) { std::string_view v; return in.part(v); }},
    };
    for (const Read& r : reads)
        for (size_t available = 0; available <= r.needs + 1; ++available) {
            ByteCursor in(std::string_view(source).substr(0, available));
            EXPECT_EQ(r.read(in), available >= r.needs) << r.name << " with " << available;
            EXPECT_EQ(in.remaining(), available >= r.needs ? available - r.needs : available)
                << r.name << " with " << available;
        }
}

TEST(ByteCursor, APartLengthReachingPastTheEndFailsWhateverItsSize) {
    const std::string body = "0123456789";
    for (uint32_t length : {uint32_t(body.size() + 1), 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF8u, 0xFFFFFFFCu,
                            0xFFFFFFFFu}) {
        std::string bytes;
        appendLe32(bytes, length);
        bytes += body;
        ByteCursor in(bytes);
        std::string_view part;
        EXPECT_FALSE(in.part(part)) << std::hex << length;
        EXPECT_EQ(in.remaining(), bytes.size()) << std::hex << length;
    }
}

TEST(ByteCursor, ACountAbove32BitsIsComparedWhole) {
    ByteCursor in("abc");
    std::string_view out;
    EXPECT_FALSE(in.take(uint64_t(1) << 32 | 2, out));
    EXPECT_FALSE(in.take(~uint64_t(0), out));
    EXPECT_EQ(in.remaining(), 3u);
}
