#pragma once
// What the recorder keeps on disk between runs, so that at its next start it
// can tell what changed while it was away: the registry shadow, the file
// catalog and the index of the file cache, each as length-prefixed records
// behind a name and version. A file cut short or of another version reads as
// nothing: the recorder then starts afresh, as it did before it kept any.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class StateWriter {
public:
    explicit StateWriter(std::string_view magic) : bytes_(magic) {}
    void addNumber(uint64_t value);
    void addText(std::string_view value);
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class StateReader {
public:
    // Fails at once when `bytes` does not begin with `magic`.
    StateReader(std::string_view bytes, std::string_view magic);
    std::optional<uint64_t> nextNumber();
    std::optional<std::string> nextText();
    bool ok() const { return ok_; }
    bool atEnd() const { return ok_ && rest_.empty(); }

private:
    std::string_view rest_;
    bool ok_ = true;
};
