#pragma once
// The byte level of every format Retrace reads and writes: little-endian
// integers, put together byte by byte so that neither the host's byte order
// nor its alignment matters, and parts behind a 32-bit length. Lengths come
// from files, so the cursor reads nothing past the end and no offset can wrap.

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

// The two types file bytes are held in: `char` in strings, `uint8_t` in blocks.
template <class Byte>
concept FileByte = std::same_as<Byte, char> || std::same_as<Byte, uint8_t>;

template <FileByte Byte>
inline uint16_t readLe16(const Byte* p) {
    return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8);
}

template <FileByte Byte>
inline uint32_t readLe32(const Byte* p) {
    return uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 | uint32_t(uint8_t(p[2])) << 16 |
           uint32_t(uint8_t(p[3])) << 24;
}

// The store functions write into room the caller has made and answer the
// position behind what they wrote.
template <FileByte Byte>
inline Byte* storeLe16(Byte* p, uint16_t value) {
    p[0] = Byte(value & 0xFF);
    p[1] = Byte(value >> 8);
    return p + 2;
}

template <FileByte Byte>
inline Byte* storeLe32(Byte* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = Byte(value >> (8 * i) & 0xFF);
    return p + 4;
}

// A part: its length in 32 bits, then its bytes.
inline char* storePart(char* p, std::string_view part) {
    p = storeLe32(p, uint32_t(part.size()));
    return std::copy(part.begin(), part.end(), p);
}

inline void appendLe16(std::string& out, uint16_t value) {
    char bytes[2];
    storeLe16(bytes, value);
    out.append(bytes, sizeof bytes);
}

inline void appendLe32(std::string& out, uint32_t value) {
    char bytes[4];
    storeLe32(bytes, value);
    out.append(bytes, sizeof bytes);
}

inline void appendPart(std::string& out, std::string_view part) {
    appendLe32(out, uint32_t(part.size()));
    out += part;
}

// Reads bytes front to back. Every read answers false, taking nothing, when
// fewer bytes remain than it needs; a part takes its length and its bytes
// together or not at all.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    bool atEnd() const { return next_ == end_; }
    size_t remaining() const { return size_t(end_ - next_); }

    // `count` is 64-bit so that a length near 2^32 is compared, never added.
    bool take(uint64_t count, std::string_view& out) {
        if (count > remaining()) return false;
        out = std::string_view(next_, size_t(count));
        next_ += size_t(count);
        return true;
    }

    bool le16(uint16_t& value) {
        if (remaining() < 2) return false;
        value = readLe16(next_);
        next_ += 2;
        return true;
    }

    bool le32(uint32_t& value) {
        if (remaining() < 4) return false;
        value = readLe32(next_);
        next_ += 4;
        return true;
    }

    bool le32(int32_t& value) {
        uint32_t bits = 0;
        if (!le32(bits)) return false;
        value = int32_t(bits);
        return true;
    }

    bool part(std::string_view& out) {
        if (remaining() < 4) return false;
        const uint64_t length = readLe32(next_);
        if (length > remaining() - 4) return false;
        out = std::string_view(next_ + 4, size_t(length));
        next_ += 4 + size_t(length);
        return true;
    }

private:
    const char* next_;
    const char* end_;
};
