#pragma once
// Hash and equality for unordered containers keyed by paths, names and
// extensions, which compare without regard to ASCII case. Both are
// transparent, so a std::string_view finds a key without a copy.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/text.h"

struct IgnoreCaseHash {
    using is_transparent = void;

    // Eight bytes at a time: every rebuild hashes a path or a name for a good
    // share of the history's records.
    size_t operator()(std::string_view text) const {
        uint64_t hash = text.size();
        while (!text.empty()) {
            uint64_t word = 0;
            size_t length = text.size() < 8 ? text.size() : 8;
            std::memcpy(&word, text.data(), length);
            hash = (hash ^ lowerAscii(word)) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 32;
            text.remove_prefix(length);
        }
        return size_t(hash);
    }

    // The eight bytes with A to Z turned into a to z, and nothing else changed.
    static uint64_t lowerAscii(uint64_t bytes) {
        constexpr uint64_t ones = 0x0101010101010101ull;
        uint64_t low7 = bytes & 0x7F * ones;  // sums below cannot carry into the next byte
        uint64_t atLeastA = low7 + (0x80 - 'A') * ones;
        uint64_t pastZ = low7 + (0x7F - 'Z') * ones;
        uint64_t upper = atLeastA & ~pastZ & ~bytes & 0x80 * ones;
        return bytes | upper >> 2;
    }
};

struct IgnoreCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }
};

// Order for maps keyed the same way: by bytes with A to Z as a to z, so all
// paths below a folder sit together after the folder's own path.
struct IgnoreCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return lower(x) < lower(y); });
    }
};
