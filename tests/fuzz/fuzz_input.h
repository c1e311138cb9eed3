#pragma once
// What every fuzz target shares: the input as file bytes, and a check whose
// failure libFuzzer reports as a crash, with the input that made it.

#include <cstdint>
#include <cstdlib>
#include <string_view>

inline std::string_view fileBytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline void require(bool holds) {
    if (!holds) std::abort();
}
