#include <gtest/gtest.h>

#include "base/text.h"

using namespace std::string_view_literals;
using Items = std::vector<std::string>;
using Lines = std::vector<std::string_view>;

TEST(SplitList, SkipsEmptyItemsWhereverTheyAre) {
    EXPECT_EQ(splitList(""), Items{});
    EXPECT_EQ(splitList("|"), Items{});
    EXPECT_EQ(splitList("EXE"), Items{"EXE"});
    EXPECT_EQ(splitList("EXE|DLL"), (Items{"EXE", "DLL"}));
    EXPECT_EQ(splitList("|EXE||DLL|"), (Items{"EXE", "DLL"}));
}

TEST(EqualsIgnoreCase, ComparesAsciiLettersWithoutCaseAndNothingElse) {
    EXPECT_TRUE(equalsIgnoreCase("Doc", "DOC"));
    EXPECT_FALSE(equalsIgnoreCase("DOC", "DOCX"));
    EXPECT_FALSE(equalsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by 32 but are no letters
    EXPECT_EQ(toUpperAscii("abc.Txt_1"), "ABC.TXT_1");
    EXPECT_EQ(toLowerAscii("ABC.Txt_1"), "abc.txt_1");
}

TEST(FieldText, StopsAtTheTerminatorOrAtTheEndOfAnUnterminatedBuffer) {
    char terminated[8] = "ab\0cd";
    char unterminated[3] = {'x', 'y', 'z'};
    EXPECT_EQ(fieldText(terminated), "ab");
    EXPECT_EQ(fieldText(unterminated), "xyz");
}

TEST(SetFieldText, CutsToFitAndAlwaysTerminates) {
    char field[4];
    setFieldText(field, "abcdef");
    EXPECT_STREQ(field, "abc");
    setFieldText(field, "");
    EXPECT_STREQ(field, "");
}

TEST(InNameList, MatchesWholeItemsWithoutRegardToCase) {
    struct { const char* list; const char* name; bool result; } cases[] = {
        {"IEXPLORE|NETSCAPE", "iexplore", true}, {"IEXPLORE|NETSCAPE", "Netscape", true},
        {"iexplore|netscape", "NETSCAPE", true}, {"IEXPLORE|NETSCAPE", "explore", false},
        {"IEXPLORE|NETSCAPE", "IEXPLORE|", false}, {"IEXPLORE", "IEXPLOREX", false},
        {"|IEXPLORE||", "iexplore", true},        {"", "iexplore", false},
        {"IEXPLORE||", "", false},                 {"|", "", false},
    };
    for (auto& c : cases) EXPECT_EQ(inNameList(c.list, c.name), c.result) << c.list << " / " << c.name;
}

TEST(SplitLines, EndsLinesAtCrLfLoneCrAndLoneLfAndDropsEmptyOnes) {
    std::string longLine(5000, 'x');
    struct { std::string_view text; Lines lines; } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb", {"a", "b"}},
        {"a\nb\n", {"a", "b", ""}},
        {"a\n\r\nb", {"a", "b"}},  // LF, then an empty line in CR LF
        {"a\r\r\n\nb", {"a", "b"}},
        {"\r\n\r\na", {"a"}},
        {"a\0b\r\nc"sv, {"a"}},  // up to the first zero byte
        {"\0a"sv, {""}},
        {longLine, {longLine}},
    };
    for (auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
}
