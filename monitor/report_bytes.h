#pragma once
// What the two report formats share above the byte level: text fields in
// lower case and the loop over entries, read with the shared cursor.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/little_endian.h"

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// A text field as the program holds it: up to its first zero byte, the
// letters A-Z in lower case and every other byte as it was.
inline std::string reportText(std::string_view bytes) {
    std::string text(bytes.substr(0, bytes.find('\0')));
    for (char& c : text) c = lowerAscii(c);
    return text;
}

// An 8-byte name field into its 9-byte buffer: every byte kept, zero padding
// included, with A-Z in lower case, then the terminator.
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
// `wholeBytes`, when given, receives the bytes up to the end of the last whole
// entry: a report still being appended to may end in one half written.
template <class Entry, class ReadEntry>
std::vector<Entry> readReportEntries(std::string_view bytes, ReadEntry readEntry, size_t* wholeBytes = nullptr) {
    std::vector<Entry> entries;
    ByteCursor in(bytes);
    size_t whole = 0;
    while (!in.atEnd()) {
        Entry entry;
        EntryRead read = readEntry(in, entry);
        if (read == EntryRead::CutShort) break;
        whole = bytes.size() - in.remaining();
        if (read == EntryRead::Taken) entries.push_back(std::move(entry));
    }
    if (wholeBytes) *wholeBytes = whole;
    return entries;
}
