#include "engine/ini_diff.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_view_literals;
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

TEST(SameSettingsText, ComparesTheTextsUpToTheirFirstZeroByte) {
    struct { std::string_view earlier, later; bool same; } cases[] = {
        {"", "", true},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n", true},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=2\r\n", false},
        {"[A]\r\nx=1\r\n", "[A]\r\nx=1", false},
        {"[A]\r\nx=1\r\n\0junk"sv, "[A]\r\nx=1\r\n\0other"sv, true},
        {"", "\0[A]"sv, true},
        {"", "[A]", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(sameSettingsText(c.earlier, c.later), c.same)
            << testing::PrintToString(c.earlier) << " / " << testing::PrintToString(c.later);
}

TEST(DiffIniTexts, ListsWhatTakesTheLaterTextBackToTheEarlierOne) {
    std::string longSection(300, 's'), longKey(300, 'k'), longValue(2000, 'v');
    struct { const char* why; std::string_view earlier, later; Changes changes; } cases[] = {
        {"a changed entry", "[A]\r\nx=1\r\ny=2\r\n", "[A]\r\nx=9\r\ny=2\r\n",
         {restore("A", "x", "1"), clear("A", "x", "9")}},
        {"a removed section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\nz=3\r\n", "[A]\r\nx=1\r\n",
         {restore("B", "y", "2"), restore("B", "z", "3")}},
        {"an added section", "[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n[C]\r\nc=1\r\nd=\r\n",
         {clear("C", "c", "1"), clear("C", "d", "")}},
        {"an added key", "[A]\r\nx=1\r\n", "[A]\r\nx=1\r\nnew=5\r\n", {clear("A", "new", "5")}},
        {"a removed key", "[A]\r\nx=1\r\ngone=5\r\n", "[A]\r\nx=1\r\n", {restore("A", "gone", "5")}},
        {"earlier sections first, then new ones", "[B]\r\nb=1\r\n[A]\r\na=1\r\n",
         "[N]\r\nn=1\r\n[A]\r\na=2\r\n[B]\r\nb=2\r\n",
         {restore("B", "b", "1"), clear("B", "b", "2"), restore("A", "a", "1"), clear("A", "a", "2"),
          clear("N", "n", "1")}},
        {"comments, lines before the first header, lines without =",
         "top=1\r\n[A]\r\n;note=1\r\n  ; indented=1\r\nFlag\r\nx=1\r\n",
         "other=2\r\n[A]\r\n;note=2\r\nx=2\r\nSwitch\r\n",
         {restore("A", "x", "1"), clear("A", "x", "2")}},
        {"headers match without regard to case", "[Windows]\r\nx=1\r\n", "[windows]\r\nx=1\r\ny=2\r\n",
         {clear("windows", "y", "2")}},
        {"headers match as whole lines: all goes back, ending in the same file", "[Windows]\r\nx=1\r\n",
         "[Windows]  \r\nx=1\r\n", {restore("Windows", "x", "1"), clear("Windows", "x", "1")}},
        {"the first equal later header is compared", "[A]\r\nx=1\r\n", "[a]\r\nx=2\r\n[A]\r\nx=1\r\n",
         {restore("A", "x", "1"), clear("a", "x", "2")}},
        {"keys without regard to case, blanks around", "[S]\r\nFont = Courier\r\n", "[S]\r\nFONT=Courier\r\n", {}},
        {"values exactly", "[S]\r\nFont=Courier\r\n", "[S]\r\nFont=COURIER\r\n",
         {restore("S", "Font", "Courier"), clear("S", "Font", "COURIER")}},
        {"a key twice, by each value", "[S]\r\nk=1\r\nk=2\r\n", "[S]\r\nk=2\r\n", {restore("S", "k", "1")}},
        {"bare line feeds", "[A]\nx=1\ny=2\n", "[A]\nx=5\ny=2\n", {restore("A", "x", "1"), clear("A", "x", "5")}},
        {"bare carriage returns", "[A]\rx=1\r", "[A]\r\nx=1\r\n", {}},
        {"up to the first zero byte", "[A]\r\nx=1\r\n\0[B]\r\ny=2\r\n"sv, "[A]\r\nx=1\0\r\n"sv, {}},
        {"an empty earlier text", "", "[A]\r\nx=1", {clear("A", "x", "1")}},
        {"identical texts", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", {}},
        {"identical texts with a section twice, so texts are compared first", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n",
         "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", {restore("a", "k", "2"), clear("A", "k", "1")}},
    };
    for (auto& c : cases) EXPECT_EQ(diffIniTexts(c.earlier, c.later), c.changes) << c.why;
    std::string whole = "[" + longSection + "]\r\n" + longKey + "=" + longValue;
    EXPECT_EQ(diffIniTexts(whole, ""), (Changes{restore(longSection, longKey, longValue)})) << "no length limits";
}

TEST(DiffIniTexts, ReadsHeadersKeysAndValuesAsTheProfileInterfaceDoes) {
    struct { const char* header; const char* line; IniChange change; } cases[] = {
        {"[Windows]", "k=v", restore("Windows", "k", "v")},
        {"[ Spaced Name ]  ", "k=v", restore("Spaced Name", "k", "v")},
        {"[A] trailing", "k=v", restore("A", "k", "v")},
        {"[a]b]", "k=v", restore("a", "k", "v")},
        {"[Open", "k=v", restore("Open", "k", "v")},
        {"[]", "k=v", restore("", "k", "v")},
        {"  [Indented]", "k=v", restore("Indented", "k", "v")},
        {"[S]", "Font = Courier New ", restore("S", "Font", "Courier New")},
        {"[S]", "\tFont\t=\tCourier\t", restore("S", "Font", "Courier")},
        {"[S]", "a=b=c", restore("S", "a", "b=c")},
        {"[S]", "=v", restore("S", "", "v")},
        {"[S]", "k=", restore("S", "k", "")},
        {"[S]", "k=\"quoted \"", restore("S", "k", "\"quoted \"")},
    };
    for (auto& c : cases)
        EXPECT_EQ(diffIniTexts(std::string(c.header) + "\r\n" + c.line, ""), Changes{c.change})
            << c.header << " " << c.line;
}

// Found by fuzzing, where a text compared with itself gave changes: a
// repeated section is compared with the first of its name in the other
// text, as the profile interface reads and writes only that one. The undo
// never compares a text with itself (their crc32 are equal), so this holds
// the rule rather than a fault.
TEST(DiffIniTexts, ASectionRepeatedInATextIsComparedWithTheFirstOfItsName) {
    std::string_view text = "[windows]\r\nload=\r\n[windows]\r\nload=\r\nrun=x\r\n";
    EXPECT_EQ(diffIniTexts(text, text), (Changes{restore("windows", "run", "x")}));
}
