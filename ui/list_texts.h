#pragma once
// The texts that lists show for an action, and the order their columns sort in.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The day of an MS-DOS date word as MM/DD/YY: 19 March 1998 gives 03/19/98.
// The year keeps two digits after 1999 as well (2026 gives 26), so every row
// of a list reads the same way.
std::string formatActionDate(uint16_t date);

// The time of an MS-DOS time word on a 12-hour dial: 22:48:50 gives
// 10:48:50 PM, midnight 12:00:00 AM and noon 12:00:00 PM.
std::string formatActionTime(uint16_t time);

// The hour a time word falls in, on the same dial with minutes and seconds
// at 00: 12:40 gives 12:00:00 PM, 0:10 gives 12:00:00 AM.
std::string formatActionHour(uint16_t time);

// A program name as a person writes it: NOTEPAD gives Notepad. Only the
// letters A to Z change case.
std::string displayCase(std::string_view name);

// A size or count as lists show it: the unsigned decimal of its 32 bits.
std::string formatCount(uint32_t count);

// One row of a list as a dialog fills it: the texts of its columns, left to
// right, and the hidden value that names what the row stands for.
struct ListRow {
    std::vector<std::string> cells;
    int32_t value = 0;
    bool operator==(const ListRow&) const = default;
};

// A count as this program prints one: decimal digits without sign, space or
// leading zero ("0" itself is one). "007" and " 7" are texts.
bool isPlainNumber(std::string_view text);

enum class ColumnOrder { ByValue, ByText };

// A column sorts by value when every one of its cells is a plain number; one
// cell of text makes the whole column sort as text, so that the rows always
// have one consistent order.
ColumnOrder columnOrderOf(std::span<const std::string> cells);

// The system's case-insensitive collation of two texts: negative, 0 or positive.
using TextCollation = std::function<int(const std::string&, const std::string&)>;

// Negative, 0 or positive as the first cell of a column sorts before, with or
// after the second, ascending. By value the cells must be plain numbers, of any
// length; by text `collate` decides.
int compareListTexts(const std::string& first, const std::string& second, ColumnOrder order,
                     const TextCollation& collate);
