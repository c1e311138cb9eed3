#include "engine/ini_diff.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_view_literals;
using Lines = std::vector<std::string_view>;
using Changes = std::vector<IniChange>;

namespace {

IniChange restore(std::string section, std::string key, std::string value) {
    return {std::move(section), std::move(key), std::move(value), IniOperation::restore};
}

IniChange clear(std::string section, std::string key, std::string value) {
    return {std::move(section), std::move(key), std::move(value), IniOperation::clear};
}

}  // namespace

void PrintTo(const IniChange& change, std::ostream* out) {
    *out << (change.operation == IniOperation::clear ? "clear [" : "restore [") << change.section << "] "
         << change.key << "=" << change.value;
}

TEST(SplitLines, EndsLinesAtCrLfLoneCrAndLoneLfAndDropsEmptyOnes) {
    struct { std::string_view text; Lines lines; } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb", {"a", "b"}},
        {"a\nb\n", {"a", "b", ""}},
        {"a\r", {"a", ""}},
        {"a\n\r\nb", {"a", "b"}},  // LF, then an empty line in CR LF
        {"a\r\r\n\nb", {"a", "b"}},
        {"\r\n\r\na", {"a"}},
        {"a\0b\r\nc"sv, {"a"}},  // up to the first zero byte
        {"\0a"sv, {""}},
    };
    for (auto& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(SplitLines, KeepsLongLinesWhole) {
    std::string line(5000, 'x');
    EXPECT_EQ(splitLines(line + "\r\nnext"), (Lines{line, "next"}));
}

TEST(SameSettingsText, ComparesTheTextsUpToTheirFirstZeroByte) {
    struct { std::string_view earlier, later; bool same; } cases[] = {
        {"", "", true},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n", true},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=2\r\n", false},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=1", false},
        {"[A]\r\nx=1\r\n\0junk"sv, "[A]\r\nx=1\r\n\0other"sv, true},
        {"[A]\0"sv, "[A]", true},
        {"", "\0[A]"sv, true},
        {"", "[A]", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(sameSettingsText(c.earlier, c.later), c.same)
            << testing::PrintToString(c.earlier) << " / " << testing::PrintToString(c.later);
}

TEST(DiffIniTexts, AChangedEntryGivesARestoreOfItsEarlierValueAndAClearOfItsLaterOne) {
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\ny=2\r\n", "[A]\r\nx=9\r\ny=2\r\n"),
              (Changes{restore("A", "x", "1"), clear("A", "x", "9")}));
}

TEST(DiffIniTexts, ARemovedSectionComesBackWholeAndAnAddedOneIsEmptied) {
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n", "[A]\r\nx=1\r\n"),
              (Changes{restore("B", "y", "2"), restore("B", "z", "3")}));
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n[C]\r\nc=1\r\nd=\r\n"),
              (Changes{clear("C", "c", "1"), clear("C", "d", "")}));
}

TEST(DiffIniTexts, AnAddedKeyIsClearedAndARemovedOneRestored) {
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\n", "[A]\r\nx=1\r\nnew=5\r\n"), (Changes{clear("A", "new", "5")}));
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\ngone=5\r\n", "[A]\r\nx=1\r\n"), (Changes{restore("A", "gone", "5")}));
}

TEST(DiffIniTexts, FollowsTheEarlierSectionsThenTheSectionsNewInTheLaterText) {
    EXPECT_EQ(diffIniTexts("[B]\r\nb=1\r\n[A]\r\na=1\r\n", "[N]\r\nn=1\r\n[A]\r\na=2\r\n[B]\r\nb=2\r\n"),
              (Changes{restore("B", "b", "1"), clear("B", "b", "2"), restore("A", "a", "1"), clear("A", "a", "2"),
                       clear("N", "n", "1")}));
}

TEST(DiffIniTexts, NeverWritesBackCommentsLinesBeforeTheFirstHeaderOrLinesWithoutEquals) {
    EXPECT_EQ(diffIniTexts("top=1\r\n[A]\r\n;note=1\r\n  ; indented=1\r\nFlag\r\nx=1\r\n",
                           "other=2\r\n[A]\r\n;note=2\r\nx=2\r\nSwitch\r\n"),
              (Changes{restore("A", "x", "1"), clear("A", "x", "2")}));
}

TEST(DiffIniTexts, MatchesHeadersAsWholeLinesWithoutRegardToCase) {
    EXPECT_EQ(diffIniTexts("[Windows]\r\nx=1\r\n", "[windows]\r\nx=1\r\ny=2\r\n"), (Changes{clear("windows", "y", "2")}));
    // Blanks behind the bracket make another line, though the same section:
    // every entry goes back, which ends in the same file.
    EXPECT_EQ(diffIniTexts("[Windows]\r\nx=1\r\n", "[Windows]  \r\nx=1\r\n"),
              (Changes{restore("Windows", "x", "1"), clear("Windows", "x", "1")}));
    // The first of two equal later headers is the one compared.
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\n", "[a]\r\nx=2\r\n[A]\r\nx=1\r\n"),
              (Changes{restore("A", "x", "1"), clear("a", "x", "2")}));
}

TEST(DiffIniTexts, NamesSectionsByTheTextInsideTheBrackets) {
    struct { const char* header; const char* name; } cases[] = {
        {"[Windows]", "Windows"},    {"[Windows]  ", "Windows"}, {"[ Spaced Name ]", "Spaced Name"},
        {"[A] trailing", "A"},       {"[Open", "Open"},          {"[]", ""},
        {"  [Indented]", "Indented"}, {"[a]b]", "a"},
    };
    for (auto& c : cases)
        EXPECT_EQ(diffIniTexts(std::string(c.header) + "\r\nk=v\r\n", ""), (Changes{restore(c.name, "k", "v")}))
            << c.header;
}

TEST(DiffIniTexts, ReadsKeysAndValuesAsTheProfileInterfaceDoes) {
    struct { const char* line; const char* key; const char* value; } cases[] = {
        {"Font=Courier", "Font", "Courier"},
        {"Font = Courier New ", "Font", "Courier New"},
        {"\tFont\t=\tCourier\t", "Font", "Courier"},
        {"a=b=c", "a", "b=c"},
        {"=v", "", "v"},
        {"k=", "k", ""},
        {"k=\"quoted \"", "k", "\"quoted \""},
    };
    for (auto& c : cases)
        EXPECT_EQ(diffIniTexts(std::string("[S]\r\n") + c.line, "[S]\r\n"), (Changes{restore("S", c.key, c.value)}))
            << c.line;
}

TEST(DiffIniTexts, ComparesKeysWithoutRegardToCaseButValuesExactly) {
    EXPECT_EQ(diffIniTexts("[S]\r\nFont = Courier\r\n", "[S]\r\nFONT=Courier\r\n"), Changes{});
    EXPECT_EQ(diffIniTexts("[S]\r\nFont=Courier\r\n", "[S]\r\nFont=COURIER\r\n"),
              (Changes{restore("S", "Font", "Courier"), clear("S", "Font", "COURIER")}));
}

TEST(DiffIniTexts, ComparesAKeyGivenTwiceByEachOfItsValues) {
    EXPECT_EQ(diffIniTexts("[S]\r\nk=1\r\nk=2\r\n", "[S]\r\nk=2\r\n"), (Changes{restore("S", "k", "1")}));
    EXPECT_EQ(diffIniTexts("[S]\r\nk=2\r\n", "[S]\r\nk=2\r\nk=1\r\n"), (Changes{clear("S", "k", "1")}));
}

TEST(DiffIniTexts, ReadsFilesWithBareLineFeedsOrCarriageReturns) {
    EXPECT_EQ(diffIniTexts("[A]\nx=1\ny=2\n", "[A]\nx=5\ny=2\n"), (Changes{restore("A", "x", "1"), clear("A", "x", "5")}));
    EXPECT_EQ(diffIniTexts("[A]\rx=1\r", "[A]\r\nx=1\r\n"), Changes{});
}

TEST(DiffIniTexts, KeepsLongSectionsKeysAndValuesWhole) {
    std::string section(300, 's'), key(300, 'k'), value(2000, 'v');
    EXPECT_EQ(diffIniTexts("[" + section + "]\r\n" + key + "=" + value + "\r\n", ""),
              (Changes{restore(section, key, value)}));
}

TEST(DiffIniTexts, ReadsTextsUpToTheirFirstZeroByte) {
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\r\n\0[B]\r\ny=2\r\n"sv, "[A]\r\nx=1\r\n"), Changes{});
    EXPECT_EQ(diffIniTexts("[A]\r\nx=1\0\r\n"sv, "[A]\r\nx=1\r\n"), Changes{});
}

TEST(DiffIniTexts, AnEmptyEarlierTextClearsEveryLaterEntryAndIdenticalTextsChangeNothing) {
    EXPECT_EQ(diffIniTexts("", "[A]\r\nx=1"), (Changes{clear("A", "x", "1")}));
    std::string_view text = "[A]\r\nx=1\r\n[B]\r\ny=2\r\n";
    EXPECT_EQ(diffIniTexts(text, text), Changes{});
}

TEST(DiffIniTexts, IdenticalTextsWithASectionTwiceStillGiveChanges) {
    // Why identical texts must be caught before the diff: the second [A] is
    // compared with the first.
    std::string_view text = "[A]\r\nk=1\r\n[a]\r\nk=2\r\n";
    EXPECT_TRUE(sameSettingsText(text, text));
    EXPECT_EQ(diffIniTexts(text, text), (Changes{restore("a", "k", "2"), clear("A", "k", "1")}));
}
