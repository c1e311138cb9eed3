#pragma once
// Content for the saved-copy tests and benchmark: random bytes that do not
// compress, and text built from a small vocabulary that does, like the
// documents and settings files the Undo Bin keeps.

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

inline std::string randomBytes(size_t size, uint32_t seed = 1) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = char(random() & 0xFF);
    return bytes;
}

inline std::string textLike(size_t size, uint32_t seed = 1) {
    static constexpr std::array<std::string_view, 16> words{
        "the",   "undo",    "file", "[Settings]", "Window=", "of",      "restore", "value",
        "saved", "program", "and",  "report",     "1024",    "folder", "copy",    "C:\\Docs\\"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += words[random() % words.size()];
        text += random() % 9 == 0 ? "\r\n" : " ";
    }
    text.resize(size);
    return text;
}
