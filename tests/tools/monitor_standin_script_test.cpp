#include <gtest/gtest.h>

#include "tools/monitor_standin/script.h"

namespace {

const char* const programLine = "program NOTEPAD \"C:\\Windows\\notepad.exe\" 1204\n";

// The one command of `line`, played after a program line.
ScriptCommand onlyCommand(const std::string& line) {
    ParsedScript parsed = parseScript(programLine + line);
    EXPECT_FALSE(parsed.error) << line << ": " << parsed.error->message;
    EXPECT_EQ(parsed.commands.size(), 2u) << line;
    return parsed.commands.empty() ? ScriptCommand{} : parsed.commands.back();
}

// The message for `line`, which must be refused on line 2.
std::string faultOf(const std::string& line) {
    ParsedScript parsed = parseScript(programLine + line);
    if (!parsed.error) return "accepted";
    EXPECT_EQ(parsed.error->line, 2) << line;
    EXPECT_EQ(parsed.commands.size(), 1u) << line;
    return parsed.error->message;
}

using Words = std::vector<std::string>;

}  // namespace

TEST(MonitorScriptLine, SplitsAtBlanksKeepsQuotedBlanksAndDropsTheComment) {
    struct { const char* line; Words words; } cases[] = {
        {"", {}},
        {"   \t  ", {}},
        {"# only a comment", {}},
        {"delete C:\\a.txt", {"delete", "C:\\a.txt"}},
        {"  copy\t\"C:\\My Docs\\a b.txt\"   D:\\x  ", {"copy", "C:\\My Docs\\a b.txt", "D:\\x"}},
        {"create a \"\" b", {"create", "a", "", "b"}},
        {"create a \"say \"\"hi\"\"\"", {"create", "a", "say \"hi\""}},
        {"create a \"# kept\" # dropped", {"create", "a", "# kept"}},
        {"create a#dropped", {"create", "a"}},
        {"boot B1\r", {"boot", "B1"}},
    };
    for (auto& c : cases) EXPECT_EQ(splitScriptLine(c.line), c.words) << c.line;
}

TEST(MonitorScriptLine, AnUnclosedQuoteIsRefused) {
    EXPECT_FALSE(splitScriptLine("create \"C:\\a.txt"));
    EXPECT_FALSE(splitScriptLine("create \"C:\\a.txt\"\""));
}

TEST(MonitorScript, ReadsEveryCommandWithItsLineNumber) {
    ParsedScript parsed = parseScript(
        "# a day at the office\n"
        "clock 2024-03-05 09:14:00\n"
        "program explorer C:\\Windows\\explorer.exe 88\n"
        "\n"
        "copy C:\\a.txt D:\\a.txt\n"
        "empty-recycle-bin\n"
        "boot\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    ASSERT_EQ(parsed.commands.size(), 5u);
    EXPECT_EQ(parsed.commands[0].verb, ScriptVerb::Clock);
    EXPECT_EQ(parsed.commands[0].line, 2);
    EXPECT_EQ(parsed.commands[0].time, (ScriptTime{2024, 3, 5, 9, 14, 0}));
    EXPECT_EQ(parsed.commands[1].verb, ScriptVerb::Program);
    EXPECT_EQ(parsed.commands[1].name, "explorer");
    EXPECT_EQ(parsed.commands[1].path, "C:\\Windows\\explorer.exe");
    EXPECT_EQ(parsed.commands[1].processId, 88u);
    EXPECT_EQ(parsed.commands[2].verb, ScriptVerb::Copy);
    EXPECT_EQ(parsed.commands[2].line, 5);
    EXPECT_EQ(parsed.commands[2].path, "C:\\a.txt");
    EXPECT_EQ(parsed.commands[2].target, "D:\\a.txt");
    EXPECT_EQ(parsed.commands[3].verb, ScriptVerb::EmptyRecycleBin);
    EXPECT_EQ(parsed.commands[4].verb, ScriptVerb::Boot);
    EXPECT_EQ(parsed.commands[4].name, "");
}

TEST(MonitorScript, FileContentIsOneLineEachEndingInCarriageReturnLineFeed) {
    EXPECT_EQ(onlyCommand("create C:\\a.txt \"Dear Sam,\" \"\" \"Bye\"").text, "Dear Sam,\r\n\r\nBye\r\n");
    EXPECT_EQ(onlyCommand("write C:\\a.txt").text, "");
}

TEST(MonitorScript, AnIniCommandWithoutValueDeletesTheKey) {
    ScriptCommand set = onlyCommand("ini C:\\Windows\\win.ini Desktop Wallpaper \"\"");
    EXPECT_EQ(set.name, "Desktop");
    EXPECT_EQ(set.key, "Wallpaper");
    EXPECT_TRUE(set.hasText);
    EXPECT_EQ(set.text, "");
    EXPECT_FALSE(onlyCommand("ini C:\\Windows\\win.ini Desktop Wallpaper").hasText);
}

TEST(MonitorScript, RegistryPathsSplitIntoRootKeyAndValueAndKeyPathsEndInABackslash) {
    struct {
        const char* line;
        RegistryRoot root;
        const char* subkey;
        const char* valueName;
        const char* path;
    } cases[] = {
        {"set-value HKCU\\Software\\Acme\\Editor\\Font sz x", RegistryRoot::CurrentUser, "Software\\Acme\\Editor",
         "Font", "HKCU\\Software\\Acme\\Editor\\Font"},
        {"delete-value hklm\\Software\\Acme\\Size", RegistryRoot::LocalMachine, "Software\\Acme", "Size",
         "HKLM\\Software\\Acme\\Size"},
        {"set-value HKCR\\.txt\\ sz x", RegistryRoot::ClassesRoot, ".txt", "", "HKCR\\.txt\\"},  // default value
        {"create-key HKU\\.DEFAULT\\Acme", RegistryRoot::Users, ".DEFAULT\\Acme", "", "HKU\\.DEFAULT\\Acme\\"},
        {"delete-key HKCC\\Software\\Acme\\", RegistryRoot::CurrentConfig, "Software\\Acme", "",
         "HKCC\\Software\\Acme\\"},
    };
    for (auto& c : cases) {
        ScriptCommand command = onlyCommand(c.line);
        EXPECT_EQ(command.root, c.root) << c.line;
        EXPECT_EQ(command.subkey, c.subkey) << c.line;
        EXPECT_EQ(command.valueName, c.valueName) << c.line;
        EXPECT_EQ(command.path, c.path) << c.line;
    }
}

TEST(MonitorScript, ValueDataIsTheBytesTheRegistryHolds) {
    ScriptCommand text = onlyCommand("set-value HKCU\\Software\\Acme\\Font sz \"Courier New\"");
    EXPECT_EQ(text.valueType, registryString);
    EXPECT_EQ(text.data, std::string("Courier New\0", 12));
    ScriptCommand number = onlyCommand("set-value HKCU\\Software\\Acme\\Size dword 4294967294");
    EXPECT_EQ(number.valueType, registryDword);
    EXPECT_EQ(number.data, std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(onlyCommand("set-value HKCU\\Software\\Acme\\Size dword 1").data, std::string("\x01\0\0\0", 4));
}

TEST(MonitorScript, RefusesWhatItCannotPlayAndSaysWhy) {
    struct { const char* line; const char* message; } cases[] = {
        {"erase C:\\a.txt", "unknown command \"erase\""},
        {"Delete C:\\a.txt", "unknown command \"Delete\""},
        {"delete", "usage: delete <path>"},
        {"delete C:\\a.txt C:\\b.txt", "usage: delete <path>"},
        {"rename C:\\a.txt", "usage: rename <path> <new path>"},
        {"ini C:\\a.ini Section", "usage: ini <path> <section> <key> [<value>]"},
        {"ini C:\\a.ini \"\" Key", "an INI entry needs a section and a key"},
        {"empty-recycle-bin now", "usage: empty-recycle-bin"},
        {"create \"C:\\a.txt", "a quoted argument is not closed"},
        {"program NOTEPAD3 C:\\n.exe 1", "accepted"},
        {"program NOTEPAD32 C:\\n.exe 1", "a program's module name has 1 to 8 characters"},
        {"program \"\" C:\\n.exe 1", "a program's module name has 1 to 8 characters"},
        {"program N C:\\n.exe -1", "the process id must be a decimal number"},
        {"program N C:\\n.exe 4294967296", "the process id must be a decimal number"},
        {"program N C:\\n.exe 0x10", "the process id must be a decimal number"},
        {"clock 2024-02-30 10:00:00", "no such date and time between 1980 and 2107: 2024-02-30 10:00:00"},
        {"clock 1979-12-31 23:59:59", "no such date and time between 1980 and 2107: 1979-12-31 23:59:59"},
        {"clock 2024-3-05 10:00:00", "no such date and time between 1980 and 2107: 2024-3-05 10:00:00"},
        {"set-value HKCU\\Software\\Acme\\Size qword 1", "the value type is sz or dword, not \"qword\""},
        {"set-value HKCU\\Software\\Acme\\Size dword 4294967296", "a dword is a decimal number from 0 to 4294967295"},
        {"set-value HKCU\\Software\\Acme\\Size dword -1", "a dword is a decimal number from 0 to 4294967295"},
        {"set-value HKEY_CURRENT_USER\\Software\\Acme\\Size dword 1", "unknown registry root \"HKEY_CURRENT_USER\""},
        {"set-value HKDD\\Acme\\Size dword 1", "unknown registry root \"HKDD\""},
        {"set-value HKCU dword 1", "a registry path begins with a root such as HKCU\\"},
        {"set-value HKCU\\Size dword 1", "a registry value path needs a key and a value name"},
        {"set-value HKCU\\\\Size dword 1", "the registry path names no key"},
        {"delete-key HKCU\\", "the registry path names no key"},
        {"delete-key HKCU\\Software\\\\Acme", "the registry path names no key"},
        {"boot NINECHARS", "a boot marker's text has 1 to 8 characters"},
        {"boot \"\"", "a boot marker's text has 1 to 8 characters"},
        {"boot A.B", "a boot marker's text holds letters, digits, _ and - only"},
        {"boot Boot_1-2", "accepted"},
    };
    for (auto& c : cases) EXPECT_EQ(faultOf(c.line), c.message) << c.line;
}

TEST(MonitorScript, AChangeBeforeAnyProgramIsRefusedButClockAndBootNeedNone) {
    ParsedScript parsed = parseScript("clock 2024-01-01 00:00:00\nboot\ndelete C:\\a.txt\n");
    ASSERT_TRUE(parsed.error);
    EXPECT_EQ(parsed.error->line, 3);
    EXPECT_EQ(parsed.error->message, "no program has been named yet: begin with program <name> <path> <pid>");
    EXPECT_EQ(parsed.commands.size(), 2u);
}

TEST(MonitorScript, LinesEndingInCarriageReturnLineFeedReadLikeLineFeedOnes) {
    ParsedScript parsed = parseScript("program N C:\\n.exe 1\r\ndelete C:\\a.txt\r\n");
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.commands.size(), 2u);
    EXPECT_EQ(parsed.commands[1].path, "C:\\a.txt");
}

TEST(ScriptClock, AddingSecondsCarriesOverDaysMonthsYearsAndLeapDays) {
    struct { ScriptTime from; int seconds; ScriptTime to; } cases[] = {
        {{2024, 3, 5, 9, 14, 0}, 2, {2024, 3, 5, 9, 14, 2}},
        {{2024, 3, 5, 9, 59, 58}, 2, {2024, 3, 5, 10, 0, 0}},
        {{2024, 3, 5, 23, 59, 59}, 2, {2024, 3, 6, 0, 0, 1}},
        {{2023, 2, 28, 23, 59, 58}, 2, {2023, 3, 1, 0, 0, 0}},
        {{2024, 2, 28, 23, 59, 58}, 2, {2024, 2, 29, 0, 0, 0}},
        {{2100, 2, 28, 23, 59, 58}, 2, {2100, 3, 1, 0, 0, 0}},  // no leap day in 2100
        {{2000, 2, 28, 23, 59, 58}, 2, {2000, 2, 29, 0, 0, 0}},  // but one in 2000
        {{2024, 12, 31, 23, 59, 58}, 2, {2025, 1, 1, 0, 0, 0}},
        {{2024, 1, 31, 12, 0, 0}, 2 * 86400, {2024, 2, 2, 12, 0, 0}},
    };
    for (auto& c : cases) EXPECT_EQ(addSeconds(c.from, c.seconds), c.to) << c.from.year << "-" << c.from.month;
}

TEST(ScriptClock, DosDateAndTimeAtTheEndsOfTheirRange) {
    struct { ScriptTime time; uint16_t date, dos; } cases[] = {
        {{1980, 1, 1, 0, 0, 0}, 0x0021, 0x0000},
        {{1980, 1, 1, 0, 0, 1}, 0x0021, 0x0000},  // odd seconds round down
        {{2107, 12, 31, 23, 59, 59}, 0xFF9F, 0xBF7D},
        {{2024, 3, 5, 9, 14, 6}, uint16_t(44 << 9 | 3 << 5 | 5), uint16_t(9 << 11 | 14 << 5 | 3)},
    };
    for (auto& c : cases) {
        EXPECT_EQ(dosDate(c.time), c.date) << c.time.year;
        EXPECT_EQ(dosTime(c.time), c.dos) << c.time.year;
    }
}

TEST(ScriptClock, ParsesOnlyRealMomentsInTheDosRange) {
    EXPECT_EQ(parseScriptTime("2024-02-29", "23:59:59"), (ScriptTime{2024, 2, 29, 23, 59, 59}));
    EXPECT_EQ(parseScriptTime("2107-12-31", "00:00:00"), (ScriptTime{2107, 12, 31, 0, 0, 0}));
    for (auto [date, time] : {std::pair{"2023-02-29", "00:00:00"}, {"2108-01-01", "00:00:00"},
                              {"2024-13-01", "00:00:00"}, {"2024-00-10", "00:00:00"}, {"2024-01-00", "00:00:00"},
                              {"2024-01-01", "24:00:00"}, {"2024-01-01", "00:60:00"}, {"2024-01-01", "00:00:60"},
                              {"2024-01-01", "00:00"}, {"2024-01-01", "00:00:00:00"}, {"2024/01/01", "00:00:00"},
                              {"2024-01-01", "0a:00:00"}, {"", ""}})
        EXPECT_FALSE(parseScriptTime(date, time)) << date << " " << time;
}
