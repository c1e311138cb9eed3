#pragma once
// Hash and equality for unordered containers keyed by paths, names and
// extensions, which compare without regard to ASCII case. Both are
// transparent, so a std::string_view finds a key without a copy.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings_lists.h"

struct IgnoreCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (char c : text) {
            unsigned char u = static_cast<unsigned char>(c);
            hash = (hash ^ (u >= 'A' && u <= 'Z' ? u + 32u : u)) * 1099511628211ull;
        }
        return size_t(hash);
    }
};

struct IgnoreCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }
};
