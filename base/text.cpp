#include "base/text.h"

#include <algorithm>

namespace {
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Takes the first item, possibly empty, off the front of a "|"-separated list.
std::string_view takeItem(std::string_view& list) {
    size_t bar = list.find('|');
    std::string_view item = list.substr(0, bar);
    list = bar == std::string_view::npos ? std::string_view{} : list.substr(bar + 1);
    return item;
}
}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

std::vector<std::string> splitList(std::string_view list) {
    std::vector<std::string> items;
    while (!list.empty()) {
        std::string_view item = takeItem(list);
        if (!item.empty()) items.emplace_back(item);
    }
    return items;
}

bool inNameList(std::string_view list, std::string_view name) {
    if (name.empty()) return false;
    while (!list.empty())
        if (equalsIgnoreCase(takeItem(list), name)) return true;
    return false;
}

std::string toUpperAscii(std::string_view text) {
    std::string upper(text);
    std::ranges::transform(upper, upper.begin(), upperAscii);
    return upper;
}

std::string toLowerAscii(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), lowerAscii);
    return lower;
}

std::string_view fieldText(std::span<const char> buffer) {
    auto end = std::ranges::find(buffer, '\0');
    return {buffer.data(), size_t(end - buffer.begin())};
}

void setFieldText(std::span<char> buffer, std::string_view text) {
    if (buffer.empty()) return;
    size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.data(), length, buffer.data());
    buffer[length] = '\0';
}

std::vector<std::string_view> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        // A lone LF ends a line too: files written with bare line feeds must
        // be read as well.
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}
