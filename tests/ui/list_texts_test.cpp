#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/dos_time.h"
#include "ui/list_texts.h"

TEST(FormatActionDate, ShowsMonthDayAndTheLastTwoDigitsOfTheYear) {
    struct { int year, month, day; const char* text; } cases[] = {
        {1980, 1, 1, "01/01/80"},
        {1998, 3, 19, "03/19/98"},
        {1999, 12, 31, "12/31/99"},
        {2000, 1, 1, "01/01/00"},
        {2026, 12, 7, "12/07/26"},
        {2107, 12, 31, "12/31/07"},  // the last day a date word holds
        {1980, 0, 0, "00/00/80"},    // fields no clock writes
        {2107, 15, 31, "15/31/07"},
    };
    for (auto& c : cases)
        EXPECT_EQ(formatActionDate(encodeDosDate(c.year, c.month, c.day)), c.text) << c.text;
}

TEST(FormatActionTime, ShowsTheTwelveHourDialWithItsSuffix) {
    struct { int hours, minutes, seconds; const char* text; } cases[] = {
        {0, 0, 0, "12:00:00 AM"},    // midnight
        {0, 5, 2, "12:05:02 AM"},
        {1, 0, 0, "01:00:00 AM"},
        {11, 59, 58, "11:59:58 AM"},
        {12, 0, 0, "12:00:00 PM"},   // noon
        {13, 1, 2, "01:01:02 PM"},
        {22, 48, 50, "10:48:50 PM"},
        {23, 59, 58, "11:59:58 PM"},
        {23, 59, 59, "11:59:58 PM"},  // a word holds even seconds only
    };
    for (auto& c : cases)
        EXPECT_EQ(formatActionTime(encodeDosTime(c.hours, c.minutes, c.seconds)), c.text) << c.text;
}

TEST(FormatActionHour, ShowsTheHourOnTheDialWithZeroMinutes) {
    struct { int hours, minutes; const char* text; } cases[] = {
        {12, 40, "12:00:00 PM"}, {0, 10, "12:00:00 AM"}, {15, 59, "03:00:00 PM"}, {11, 59, "11:00:00 AM"},
    };
    for (auto& c : cases) EXPECT_EQ(formatActionHour(encodeDosTime(c.hours, c.minutes, 58)), c.text) << c.text;
}

TEST(DisplayCase, UpperCasesTheFirstLetterAndLowerCasesTheRest) {
    struct { const char* name; const char* text; } cases[] = {
        {"NOTEPAD", "Notepad"},
        {"wINWORD", "Winword"},
        {"x", "X"},
        {"Q", "Q"},
        {"", ""},
        {"1STCLASS", "1stclass"},        // no letter first: nothing to raise
        {"CAF\xC9.EXE", "Caf\xC9.exe"},  // letters beyond Z are left as they are
    };
    for (auto& c : cases) EXPECT_EQ(displayCase(c.name), c.text) << c.name;
}

TEST(PlainNumber, IsDigitsWithoutSignSpaceOrLeadingZero) {
    for (const char* number : {"0", "9", "10", "4294967295", "18446744073709551616"})
        EXPECT_TRUE(isPlainNumber(number)) << number;
    for (const char* text : {"", "007", "00", "-5", "+5", " 5", "5 ", "5a", "1,000", "12/07/26"})
        EXPECT_FALSE(isPlainNumber(text)) << '"' << text << '"';
}

namespace {
int collateIgnoringCase(const std::string& a, const std::string& b) {
    auto lower = [](std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        return text;
    };
    return lower(a).compare(lower(b));
}

// Sorts a column the way the list view does, by the one comparison.
std::vector<std::string> sorted(std::vector<std::string> cells) {
    ColumnOrder order = columnOrderOf(cells);
    std::stable_sort(cells.begin(), cells.end(), [&](const std::string& a, const std::string& b) {
        return compareListTexts(a, b, order, collateIgnoringCase) < 0;
    });
    return cells;
}
}  // namespace

TEST(CompareListTexts, AColumnOfNumbersSortsByValue) {
    using Cells = std::vector<std::string>;
    EXPECT_EQ(sorted({"100", "9", "10"}), (Cells{"9", "10", "100"}));
    EXPECT_EQ(sorted({"5000000000", "4294967295", "0"}), (Cells{"0", "4294967295", "5000000000"}));
    EXPECT_EQ(compareListTexts("9", "10", ColumnOrder::ByValue, collateIgnoringCase), -1);
    EXPECT_EQ(compareListTexts("100", "10", ColumnOrder::ByValue, collateIgnoringCase), 1);
    EXPECT_EQ(compareListTexts("42", "42", ColumnOrder::ByValue, collateIgnoringCase), 0);
}

TEST(CompareListTexts, OneCellOfTextMakesTheWholeColumnSortAsText) {
    using Cells = std::vector<std::string>;
    EXPECT_EQ(columnOrderOf(Cells{"9", "10", "100"}), ColumnOrder::ByValue);
    EXPECT_EQ(columnOrderOf(Cells{"9", "007", "10"}), ColumnOrder::ByText);
    EXPECT_EQ(columnOrderOf(Cells{}), ColumnOrder::ByValue);
    EXPECT_EQ(sorted({"9", "007", "10"}), (Cells{"007", "10", "9"}));
    // Compared pair by pair, 9 < 10 by value, 10 < 1a and 1a < 9 as text: a
    // circle that has no order. The column as a whole has one.
    EXPECT_EQ(sorted({"9", "1a", "10"}), (Cells{"10", "1a", "9"}));
    EXPECT_EQ(sorted({"03/19/98", "12/07/26", "01/01/80"}), (Cells{"01/01/80", "03/19/98", "12/07/26"}));
}

TEST(CompareListTexts, TextsGoToTheCollationAndEqualTextsAreEqual) {
    EXPECT_LT(compareListTexts("apple", "Banana", ColumnOrder::ByText, collateIgnoringCase), 0);
    EXPECT_EQ(compareListTexts("NOTEPAD", "notepad", ColumnOrder::ByText, collateIgnoringCase), 0);
    EXPECT_EQ(compareListTexts("7", "7", ColumnOrder::ByText, collateIgnoringCase), 0);
    EXPECT_EQ(compareListTexts("a", "b", ColumnOrder::ByText, [](auto&, auto&) { return 5; }), 5);
}
