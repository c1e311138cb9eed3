#include "tools/monitor_standin/script.h"

#include <charconv>

namespace {

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Digits only, no sign, no blanks: what a script writer means by a number.
template <class Number>
std::optional<Number> parseDecimal(std::string_view text) {
    Number value{};
    auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || fault != std::errc() || end != text.data() + text.size() || text[0] == '-')
        return std::nullopt;
    return value;
}

// "n1<separator>n2<separator>n3" with each part of the given width.
std::optional<std::vector<int>> parseFields(std::string_view text, char separator, std::vector<size_t> widths) {
    std::vector<int> fields;
    size_t at = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != separator) return std::nullopt;
            ++at;
        }
        auto field = parseDecimal<int>(text.substr(at, widths[i]));
        if (!field || at + widths[i] > text.size()) return std::nullopt;
        fields.push_back(*field);
        at += widths[i];
    }
    if (at != text.size()) return std::nullopt;
    return fields;
}

struct RootName {
    const char* abbreviation;
    RegistryRoot root;
};
const RootName rootNames[] = {
    {"HKCR", RegistryRoot::ClassesRoot},  {"HKCU", RegistryRoot::CurrentUser},
    {"HKLM", RegistryRoot::LocalMachine}, {"HKU", RegistryRoot::Users},
    {"HKCC", RegistryRoot::CurrentConfig},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Fills root, subkey, value name and the path as the report gives it: the
// root's abbreviation, the subkey, and the value name or, for a key, nothing
// behind a closing backslash.
std::optional<std::string> parseRegistryPath(std::string_view text, bool keyLevel, ScriptCommand& command) {
    size_t rootEnd = text.find('\\');
    if (rootEnd == std::string_view::npos) return "a registry path begins with a root such as HKCU\\";
    const RootName* root = nullptr;
    for (auto& candidate : rootNames)
        if (equalsIgnoringCase(text.substr(0, rootEnd), candidate.abbreviation)) root = &candidate;
    if (!root) return "unknown registry root \"" + std::string(text.substr(0, rootEnd)) + "\"";
    std::string_view rest = text.substr(rootEnd + 1);
    if (keyLevel) {
        if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
        command.subkey = rest;
    } else {
        size_t last = rest.rfind('\\');
        if (last == std::string_view::npos) return "a registry value path needs a key and a value name";
        command.subkey = rest.substr(0, last);
        command.valueName = rest.substr(last + 1);
    }
    if (command.subkey.empty() || command.subkey.front() == '\\' ||
        command.subkey.find("\\\\") != std::string::npos)
        return "the registry path names no key";
    command.root = root->root;
    command.path = std::string(root->abbreviation) + "\\" + command.subkey + "\\" + command.valueName;
    return std::nullopt;
}

// Each line ends in CR LF, as text files on Windows do.
std::string joinLines(const std::vector<std::string>& arguments, size_t first) {
    std::string text;
    for (size_t i = first; i < arguments.size(); ++i) text += arguments[i] + "\r\n";
    return text;
}

bool isMarkerCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

struct VerbSyntax {
    const char* word;
    ScriptVerb verb;
    size_t fewest, most;  // arguments after the verb
    const char* usage;
};
const size_t unlimited = size_t(-1);
const VerbSyntax verbs[] = {
    {"program", ScriptVerb::Program, 3, 3, "program <name> <path> <pid>"},
    {"clock", ScriptVerb::Clock, 2, 2, "clock <yyyy-mm-dd> <hh:mm:ss>"},
    {"create", ScriptVerb::Create, 1, unlimited, "create <path> [<line>...]"},
    {"write", ScriptVerb::Write, 1, unlimited, "write <path> [<line>...]"},
    {"delete", ScriptVerb::Delete, 1, 1, "delete <path>"},
    {"rename", ScriptVerb::Rename, 2, 2, "rename <path> <new path>"},
    {"copy", ScriptVerb::Copy, 2, 2, "copy <path> <new path>"},
    {"move", ScriptVerb::Move, 2, 2, "move <path> <new path>"},
    {"recycle", ScriptVerb::Recycle, 1, 1, "recycle <path>"},
    {"empty-recycle-bin", ScriptVerb::EmptyRecycleBin, 0, 0, "empty-recycle-bin"},
    {"ini", ScriptVerb::Ini, 3, 4, "ini <path> <section> <key> [<value>]"},
    {"set-value", ScriptVerb::SetValue, 3, 3, "set-value <registry path> sz|dword <data>"},
    {"delete-value", ScriptVerb::DeleteValue, 1, 1, "delete-value <registry path>"},
    {"create-key", ScriptVerb::CreateKey, 1, 1, "create-key <registry path>"},
    {"delete-key", ScriptVerb::DeleteKey, 1, 1, "delete-key <registry path>"},
    {"boot", ScriptVerb::Boot, 0, 1, "boot [<text>]"},
};

// Fills the command from its arguments, or says what is wrong with them.
std::optional<std::string> parseArguments(const std::vector<std::string>& a, ScriptCommand& command) {
    switch (command.verb) {
    case ScriptVerb::Program: {
        if (a[0].empty() || a[0].size() > 8) return "a program's module name has 1 to 8 characters";
        auto processId = parseDecimal<uint32_t>(a[2]);
        if (!processId) return "the process id must be a decimal number";
        command.name = a[0];
        command.path = a[1];
        command.processId = *processId;
        return std::nullopt;
    }
    case ScriptVerb::Clock: {
        auto time = parseScriptTime(a[0], a[1]);
        if (!time) return "no such date and time between 1980 and 2107: " + a[0] + " " + a[1];
        command.time = *time;
        return std::nullopt;
    }
    case ScriptVerb::Create:
    case ScriptVerb::Write:
        command.path = a[0];
        command.text = joinLines(a, 1);
        return std::nullopt;
    case ScriptVerb::Delete:
    case ScriptVerb::Recycle:
        command.path = a[0];
        return std::nullopt;
    case ScriptVerb::Rename:
    case ScriptVerb::Copy:
    case ScriptVerb::Move:
        command.path = a[0];
        command.target = a[1];
        return std::nullopt;
    case ScriptVerb::EmptyRecycleBin:
        return std::nullopt;
    case ScriptVerb::Ini:
        if (a[1].empty() || a[2].empty()) return "an INI entry needs a section and a key";
        command.path = a[0];
        command.name = a[1];
        command.key = a[2];
        command.hasText = a.size() == 4;
        if (command.hasText) command.text = a[3];
        return std::nullopt;
    case ScriptVerb::SetValue: {
        if (auto fault = parseRegistryPath(a[0], false, command)) return fault;
        if (a[1] == "sz") {
            command.valueType = registryString;
            command.data = a[2];
            command.data.push_back('\0');
        } else if (a[1] == "dword") {
            auto value = parseDecimal<uint32_t>(a[2]);
            if (!value) return "a dword is a decimal number from 0 to 4294967295";
            command.valueType = registryDword;
            for (int shift = 0; shift < 32; shift += 8) command.data.push_back(char(*value >> shift & 0xFF));
        } else {
            return "the value type is sz or dword, not \"" + a[1] + "\"";
        }
        return std::nullopt;
    }
    case ScriptVerb::DeleteValue:
        return parseRegistryPath(a[0], false, command);
    case ScriptVerb::CreateKey:
    case ScriptVerb::DeleteKey:
        return parseRegistryPath(a[0], true, command);
    case ScriptVerb::Boot:
        if (!a.empty()) {
            if (a[0].empty() || a[0].size() > 8) return "a boot marker's text has 1 to 8 characters";
            for (char c : a[0])
                if (!isMarkerCharacter(c)) return "a boot marker's text holds letters, digits, _ and - only";
            command.name = a[0];
        }
        return std::nullopt;
    }
    return "unknown command";
}

bool needsProgram(ScriptVerb verb) {
    return verb != ScriptVerb::Program && verb != ScriptVerb::Clock && verb != ScriptVerb::Boot;
}

}  // namespace

std::optional<ScriptTime> parseScriptTime(std::string_view date, std::string_view time) {
    auto d = parseFields(date, '-', {4, 2, 2});
    auto t = parseFields(time, ':', {2, 2, 2});
    if (!d || !t) return std::nullopt;
    ScriptTime result{(*d)[0], (*d)[1], (*d)[2], (*t)[0], (*t)[1], (*t)[2]};
    if (result.year < 1980 || result.year > 2107 || result.month < 1 || result.month > 12 || result.day < 1 ||
        result.day > daysInMonth(result.year, result.month) || result.hour > 23 || result.minute > 59 ||
        result.second > 59)
        return std::nullopt;
    return result;
}

ScriptTime addSeconds(ScriptTime time, int seconds) {
    int total = time.hour * 3600 + time.minute * 60 + time.second + seconds;
    int days = total / 86400;
    total %= 86400;
    time.hour = total / 3600;
    time.minute = total / 60 % 60;
    time.second = total % 60;
    for (; days > 0; --days) {
        if (++time.day <= daysInMonth(time.year, time.month)) continue;
        time.day = 1;
        if (++time.month <= 12) continue;
        time.month = 1;
        ++time.year;
    }
    return time;
}

uint16_t dosDate(const ScriptTime& time) {
    return uint16_t((time.year - 1980) << 9 | time.month << 5 | time.day);
}

uint16_t dosTime(const ScriptTime& time) {
    return uint16_t(time.hour << 11 | time.minute << 5 | time.second / 2);
}

std::optional<std::vector<std::string>> splitScriptLine(std::string_view line) {
    std::vector<std::string> arguments;
    size_t at = 0;
    while (true) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
        if (at == line.size() || line[at] == '#') return arguments;
        std::string argument;
        if (line[at] == '"') {
            ++at;
            while (true) {
                if (at == line.size()) return std::nullopt;
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"') {
                        argument += '"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                argument += line[at++];
            }
        } else {
            while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r' && line[at] != '#')
                argument += line[at++];
        }
        arguments.push_back(std::move(argument));
    }
}

ParsedScript parseScript(std::string_view text) {
    ParsedScript parsed;
    bool programNamed = false;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        auto fail = [&](std::string message) {
            parsed.error = ScriptError{lineNumber, std::move(message)};
            return parsed;
        };
        auto words = splitScriptLine(line);
        if (!words) return fail("a quoted argument is not closed");
        if (words->empty()) continue;

        const VerbSyntax* syntax = nullptr;
        for (auto& candidate : verbs)
            if ((*words)[0] == candidate.word) syntax = &candidate;
        if (!syntax) return fail("unknown command \"" + (*words)[0] + "\"");
        std::vector<std::string> arguments(words->begin() + 1, words->end());
        if (arguments.size() < syntax->fewest || arguments.size() > syntax->most)
            return fail(std::string("usage: ") + syntax->usage);
        if (needsProgram(syntax->verb) && !programNamed)
            return fail("no program has been named yet: begin with program <name> <path> <pid>");

        ScriptCommand command;
        command.line = lineNumber;
        command.verb = syntax->verb;
        if (auto fault = parseArguments(arguments, command)) return fail(*fault);
        programNamed = programNamed || command.verb == ScriptVerb::Program;
        parsed.commands.push_back(std::move(command));
    }
    return parsed;
}
