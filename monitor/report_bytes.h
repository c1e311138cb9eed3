#pragma once
// The byte level shared by the two report formats: little-endian integers,
// parts behind a 32-bit length, and text fields in lower case. Lengths come
// from files, so nothing is read past the end and no offset can wrap.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline uint16_t readLe16(const char* p) { return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8); }

inline uint32_t readLe32(const char* p) {
    return uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 | uint32_t(uint8_t(p[2])) << 16 |
           uint32_t(uint8_t(p[3])) << 24;
}

inline void appendLe16(std::string& out, uint16_t value) {
    out += char(value & 0xFF);
    out += char(value >> 8);
}

inline void appendLe32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += char(value >> shift & 0xFF);
}

// A length-prefixed part as the drivers write it.
inline void appendPart(std::string& out, std::string_view part) {
    appendLe32(out, uint32_t(part.size()));
    out += part;
}

// Reads an entry front to back. Every read answers false, taking nothing,
// when fewer bytes remain than it needs.
class ReportCursor {
public:
    explicit ReportCursor(std::string_view bytes) : rest_(bytes) {}

    bool atEnd() const { return rest_.empty(); }

    // `count` is 64-bit so that a length near 2^32 is compared, never added.
    bool take(uint64_t count, std::string_view& out) {
        if (count > rest_.size()) return false;
        out = rest_.substr(0, size_t(count));
        rest_.remove_prefix(size_t(count));
        return true;
    }

    bool le16(uint16_t& value) {
        std::string_view bytes;
        if (!take(2, bytes)) return false;
        value = readLe16(bytes.data());
        return true;
    }

    bool le32(uint32_t& value) {
        std::string_view bytes;
        if (!take(4, bytes)) return false;
        value = readLe32(bytes.data());
        return true;
    }

    bool le32(int32_t& value) {
        uint32_t bits = 0;
        if (!le32(bits)) return false;
        value = int32_t(bits);
        return true;
    }

    bool part(std::string_view& out) {
        uint32_t length = 0;
        return le32(length) && take(length, out);
    }

private:
    std::string_view rest_;
};

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// A text field as the program holds it: up to its first zero byte, the
// letters A-Z in lower case and every other byte as it was.
inline std::string reportText(std::string_view bytes) {
    std::string text(bytes.substr(0, bytes.find('\0')));
    for (char& c : text) c = lowerAscii(c);
    return text;
}

// An 8-byte name field into its 9-byte buffer, kept byte for byte so that it
// is written back unchanged, with its letters in lower case.
inline void setReportName(std::span<char, 9> field, std::string_view eightBytes) {
    for (size_t i = 0; i < 8; ++i) field[i] = lowerAscii(eightBytes[i]);
    field[8] = '\0';
}

enum class EntryRead {
    Taken,
    Skipped,   // whole, but not for the program: stepped over by its lengths
    CutShort,  // does not fit in the bytes left: reading ends here
};

// Every entry of a report in file order: `readEntry(cursor, entry)` reads the
// one at the cursor. An entry cut short ends the reading, keeping those before.
template <class Entry, class ReadEntry>
std::vector<Entry> readReportEntries(std::string_view bytes, ReadEntry readEntry) {
    std::vector<Entry> entries;
    ReportCursor in(bytes);
    while (!in.atEnd()) {
        Entry entry;
        EntryRead read = readEntry(in, entry);
        if (read == EntryRead::CutShort) break;
        if (read == EntryRead::Taken) entries.push_back(std::move(entry));
    }
    return entries;
}
