#pragma once
// The monitor stand-in's script: one command per line, "#" starts a comment,
// arguments are separated by blanks and a double-quoted argument may hold
// blanks ("" inside quotes is one quote). Parsing is pure: text in,
// commands out; playing them against the system is the player's business.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A local date and time, as stamped on report entries.
struct ScriptTime {
    int year = 1980, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const ScriptTime&, const ScriptTime&) = default;
};

// "yyyy-mm-dd" and "hh:mm:ss" within what an MS-DOS date can hold (1980 to
// 2107), or nothing.
std::optional<ScriptTime> parseScriptTime(std::string_view date, std::string_view time);

// The same moment `seconds` later, over days, months and leap years.
ScriptTime addSeconds(ScriptTime time, int seconds);

uint16_t dosDate(const ScriptTime& time);
uint16_t dosTime(const ScriptTime& time);  // seconds are stored halved

enum class ScriptVerb {
    Program,          // name path pid: who makes the changes that follow
    Clock,            // date time: the stamp of the next change
    Create,           // path [line...]: a new file
    Write,            // path [line...]: new content for an existing file
    Delete,           // path
    Rename,           // path target
    Copy,             // path target: the program creates the target
    Move,             // path target: the program creates the target, then deletes the source
    Recycle,          // path: into the Recycle Bin
    EmptyRecycleBin,  // the files this script recycled are deleted for good
    Ini,              // path section key [value]: a profile-string write; no value deletes the key
    SetValue,         // registry-path sz|dword data
    DeleteValue,      // registry-path
    CreateKey,        // registry-path
    DeleteKey,        // registry-path
    Boot,             // [text]: a boot marker and its Start Over set
};

inline constexpr uint32_t registryString = 1;  // REG_SZ
inline constexpr uint32_t registryDword = 4;   // REG_DWORD

// The registry roots a script may name, by the abbreviation the registry
// report uses.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// One command. Which fields a verb fills is listed beside each field.
struct ScriptCommand {
    int line = 0;  // 1-based line of the script
    ScriptVerb verb = ScriptVerb::Program;
    std::string path;        // the file, the registry path (key-level: ending in "\"), the program's file
    std::string target;      // Rename, Copy, Move: the new path
    std::string name;        // Program: module name; Ini: section; Boot: marker text (may be empty)
    std::string key;         // Ini: the key
    std::string text;        // Create, Write: content, each line ending in CR LF; Ini: the value
    bool hasText = false;    // Ini: false deletes the key
    uint32_t processId = 0;  // Program
    ScriptTime time;         // Clock
    RegistryRoot root = RegistryRoot::CurrentUser;  // registry verbs
    std::string subkey;                             // registry verbs: the key below the root
    std::string valueName;                          // SetValue, DeleteValue
    uint32_t valueType = 0;                         // SetValue: registryString or registryDword
    std::string data;  // SetValue: the value's bytes (a string with its terminating zero; a DWORD little-endian)
};

struct ScriptError {
    int line = 0;
    std::string message;
};

struct ParsedScript {
    std::vector<ScriptCommand> commands;
    std::optional<ScriptError> error;  // the first fault; commands then holds those before it
};

ParsedScript parseScript(std::string_view text);

// The arguments of one line, quotes removed, comment left out; nothing when a
// quote is not closed.
std::optional<std::vector<std::string>> splitScriptLine(std::string_view line);
