#pragma once
// Small text helpers every part uses: ASCII case, "|"-separated lists as
// the settings hold them, the program's fixed-size text fields, and lines.

#include <span>
#include <string>
#include <string_view>
#include <vector>

bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Splits a "|"-separated list into its items; empty items are skipped.
std::vector<std::string> splitList(std::string_view list);

// Whether `name` is one of the list's items, ignoring case. An empty list or
// an empty name matches nothing.
bool inNameList(std::string_view list, std::string_view name);

std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

// The text held in a fixed buffer: up to its first NUL, or the whole buffer
// when a damaged value left no terminator.
std::string_view fieldText(std::span<const char> buffer);

// Copies text into a fixed buffer, cut to fit, always NUL-terminated.
void setFieldText(std::span<char> buffer, std::string_view text);

// Cuts a text, up to its first zero byte, into lines. A line ends at CR LF,
// at a lone CR or at a lone LF; empty lines are dropped; the text after the
// last line end is the last line, also when it is empty. The views point
// into `text`.
std::vector<std::string_view> splitLines(std::string_view text);
