// Any two texts of a settings file (before and after the first zero byte):
// lines never hold a line end, and no change carries a line end or blanks
// around its key into a profile-string write.

#include "base/text.h"
#include "engine/ini_diff.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
bool holdsLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }
bool isTrimmed(std::string_view text) {
    return text.empty() || (text.front() != ' ' && text.front() != '\t' && text.back() != ' ' && text.back() != '\t');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fileBytes(data, size);
    size_t zero = bytes.find('\0');
    std::string_view earlier = bytes.substr(0, zero);
    std::string_view later = zero == std::string_view::npos ? std::string_view{} : bytes.substr(zero + 1);
    for (std::string_view line : splitLines(earlier)) require(!holdsLineEnd(line));
    for (const IniChange& change : diffIniTexts(earlier, later)) {
        require(!holdsLineEnd(change.section) && !holdsLineEnd(change.key) && !holdsLineEnd(change.value));
        require(isTrimmed(change.section) && isTrimmed(change.key) && isTrimmed(change.value));
    }
    return 0;
}
