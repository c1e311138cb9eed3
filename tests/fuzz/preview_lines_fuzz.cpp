// Any two texts of a file (before and after the first zero byte) side by
// side: every line of each side comes, in order, numbered from 1 without a
// gap, and each row's mark agrees with the lines it holds.

#include <algorithm>

#include "engine/undo_preview.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
// Every line end closes a line; text after the last one is a line too.
size_t lineCount(std::string_view text) {
    return size_t(std::count(text.begin(), text.end(), '\n')) + (!text.empty() && text.back() != '\n');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fileBytes(data, size);
    size_t zero = bytes.find('\0');
    std::string_view earlier = bytes.substr(0, zero);
    std::string_view now = zero == std::string_view::npos ? std::string_view{} : bytes.substr(zero + 1);
    size_t earlierLines = 0, nowLines = 0;
    for (const PreviewLine& line : sideBySideLines(earlier, now)) {
        if (line.earlierNumber) require(line.earlierNumber == ++earlierLines);
        if (line.nowNumber) require(line.nowNumber == ++nowLines);
        bool both = line.earlierNumber && line.nowNumber;
        switch (line.mark) {
        case LineMark::Same: require(both && line.earlier == line.now); break;
        case LineMark::Changed: require(both); break;
        case LineMark::OnlyEarlier: require(line.earlierNumber && !line.nowNumber); break;
        case LineMark::OnlyNow: require(!line.earlierNumber && line.nowNumber); break;
        }
    }
    require(earlierLines == lineCount(earlier) && nowLines == lineCount(now));
    return 0;
}
