#include "ui/list_texts.h"

#include <algorithm>
#include <cstdio>

#include "base/dos_time.h"

std::string formatActionDate(uint16_t date) {
    DosDate day = decodeDosDate(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", day.month, day.day, day.year % 100);
    return text;
}

namespace {
std::string dialText(int hours, int minutes, int seconds) {
    int dialHour = hours % 12 == 0 ? 12 : hours % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", dialHour, minutes, seconds, hours >= 12 ? "PM" : "AM");
    return text;
}
}  // namespace

std::string formatActionTime(uint16_t time) {
    DosTime moment = decodeDosTime(time);
    return dialText(moment.hours, moment.minutes, moment.seconds);
}

std::string formatActionHour(uint16_t time) { return dialText(decodeDosTime(time).hours, 0, 0); }

std::string formatCount(uint32_t count) { return std::to_string(count); }

namespace {
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string displayCase(std::string_view name) {
    std::string text(name);
    for (char& c : text)
        if (isUpper(c)) c = char(c - 'A' + 'a');
    if (!text.empty() && isLower(text[0])) text[0] = char(text[0] - 'a' + 'A');
    return text;
}

bool isPlainNumber(std::string_view text) {
    if (text.empty() || (text[0] == '0' && text.size() > 1)) return false;
    return std::all_of(text.begin(), text.end(), isDigit);
}

ColumnOrder columnOrderOf(std::span<const std::string> cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return isPlainNumber(cell); })
               ? ColumnOrder::ByValue
               : ColumnOrder::ByText;
}

int compareListTexts(const std::string& first, const std::string& second, ColumnOrder order,
                     const TextCollation& collate) {
    if (order == ColumnOrder::ByText) return collate(first, second);
    // Without leading zeros the longer number is the larger; numbers of one
    // length compare digit by digit.
    if (first.size() != second.size()) return first.size() < second.size() ? -1 : 1;
    int digits = first.compare(second);
    return digits < 0 ? -1 : digits > 0 ? 1 : 0;
}
