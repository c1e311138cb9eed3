#include "settings/settings_lists.h"

#include <algorithm>

namespace {
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
}  // namespace

std::vector<std::string> splitList(std::string_view list) {
    std::vector<std::string> items;
    while (!list.empty()) {
        size_t bar = list.find('|');
        std::string_view item = list.substr(0, bar);
        if (!item.empty()) items.emplace_back(item);
        if (bar == std::string_view::npos) break;
        list.remove_prefix(bar + 1);
    }
    return items;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

std::string toUpperAscii(std::string_view text) {
    std::string upper(text);
    std::ranges::transform(upper, upper.begin(), upperAscii);
    return upper;
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
