#pragma once
// Text helpers for the settings record: "|"-separated lists compared without
// regard to case, and bounded copies into the record's fixed buffers.

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Splits a "|"-separated list into its items; empty items are skipped.
std::vector<std::string> splitList(std::string_view list);

// Whether `name` is one of the list's items, ignoring case. An empty list or
// an empty name matches nothing.
bool inNameList(std::string_view list, std::string_view name);

bool equalsIgnoreCase(std::string_view a, std::string_view b);

std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);

// The text held in a fixed buffer: up to its first NUL, or the whole buffer
// when a damaged value left no terminator.
std::string_view fieldText(std::span<const char> buffer);

// Copies text into a fixed buffer, cut to fit, always NUL-terminated.
void setFieldText(std::span<char> buffer, std::string_view text);
