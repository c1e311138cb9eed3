#pragma once
// A record's text (a path, a program's path, registry value data) as a
// 4-byte index into one process-wide store of texts, rather than a heap
// block of its own in every record. A long history then costs in memory
// about what it costs on disk, and its records are fixed-size and
// trivially copied.
//
// A stored text never changes or moves, so any thread may read the texts of
// records it was handed while another stores new ones. Giving a record
// another text stores the new one; the old one stays, since copies of the
// record may name it. Program paths, which repeat across records, are
// stored once (interned), and so are registry paths and short texts such as
// registry values, up to a bound.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

class RecordText {
public:
    RecordText() = default;
    RecordText(std::string_view text);
    // Explicit, so that either side of a ?: with a std::string converts one
    // way only; assigning a std::string still works.
    explicit RecordText(const std::string& text) : RecordText(std::string_view(text)) {}
    RecordText(const char* text) : RecordText(std::string_view(text)) {}
    RecordText& operator=(std::string_view text) { return *this = RecordText(text); }
    RecordText& operator=(const std::string& text) { return *this = RecordText(text); }
    RecordText& operator=(const char* text) { return *this = RecordText(text); }

    // The same text, stored once for every record that names it.
    static RecordText interned(std::string_view text);
    // A text that many records are likely to repeat, such as a registry
    // path: stored once while the store shares fewer than so many texts.
    static RecordText shared(std::string_view text);

    std::string_view view() const;
    operator std::string_view() const { return view(); }
    // A copy: bind a text to a std::string_view, never to a const
    // std::string&, whose views would dangle with the temporary.
    operator std::string() const { return std::string(view()); }

    // Every stored text is followed by a zero byte, for the calls that
    // want a C string; value data may hold zero bytes of its own.
    const char* c_str() const { return data(); }
    const char* data() const;
    size_t size() const;
    size_t length() const { return size(); }
    bool empty() const { return at_ == 0; }
    const char* begin() const { return data(); }
    const char* end() const { return data() + size(); }
    char operator[](size_t index) const { return data()[index]; }
    size_t find(std::string_view part, size_t from = 0) const { return view().find(part, from); }
    bool starts_with(std::string_view part) const { return view().starts_with(part); }
    bool ends_with(std::string_view part) const { return view().ends_with(part); }
    void assign(const char* text, size_t size) { *this = RecordText(std::string_view(text, size)); }

    friend bool operator==(const RecordText& a, const RecordText& b) { return a.at_ == b.at_ || a.view() == b.view(); }
    friend bool operator==(const RecordText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const RecordText& a, const std::string& b) { return a.view() == b; }
    friend bool operator==(const RecordText& a, const char* b) { return a.view() == b; }
    friend std::strong_ordering operator<=>(const RecordText& a, const RecordText& b) { return a.view() <=> b.view(); }
    friend std::strong_ordering operator<=>(const RecordText& a, std::string_view b) { return a.view() <=> b; }
    friend std::string operator+(std::string a, const RecordText& b) { return a.append(b.view()); }
    friend std::string operator+(const RecordText& a, std::string_view b) { return std::string(a.view()).append(b); }
    friend std::string operator+(const RecordText& a, const char* b) { return std::string(a.view()).append(b); }
    friend std::string operator+(const char* a, const RecordText& b) { return std::string(a).append(b.view()); }

private:
    friend class RecordTextBulk;
    explicit RecordText(uint32_t at) : at_(at) {}
    uint32_t at_ = 0;  // in 4-byte units; 0 is the empty text, never stored
};

// While one lives, its thread alone stores texts in the shared store,
// taking no lock for each: for loading a whole list.
class RecordTextBulk {
public:
    RecordTextBulk();
    ~RecordTextBulk();
    RecordTextBulk(const RecordTextBulk&) = delete;
    RecordTextBulk& operator=(const RecordTextBulk&) = delete;

    // As RecordText's own, on the thread that made the bulk, without asking
    // for each text which store the thread uses: where thread-local storage
    // is emulated, as with MinGW, that costs more than storing the text, and
    // a long list holds millions of texts.
    RecordText stored(std::string_view text) const;
    RecordText interned(std::string_view text) const;
    RecordText shared(std::string_view text) const;

private:
    struct RecordTextStore* scratch_;  // the thread's scratch store, if it has one
    bool held_ = false;
};

// While one lives, the texts its thread stores go to a store of its own,
// freed with it: for records read only to be looked at and dropped, such
// as those of a list kept aside, which would otherwise stay stored for
// good. Records made meanwhile must be read on that thread and not
// outlive it.
class RecordTextScratch {
public:
    RecordTextScratch();
    ~RecordTextScratch();
    RecordTextScratch(const RecordTextScratch&) = delete;
    RecordTextScratch& operator=(const RecordTextScratch&) = delete;

private:
    struct RecordTextStore* outer_;
};

std::ostream& operator<<(std::ostream& out, const RecordText& text);

// The bytes the text store holds, for the memory figures of the benchmarks.
size_t recordTextBytesStored();
