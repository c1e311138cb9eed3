#pragma once
// Compares two texts of an INI-style settings file and lists the entries to
// write back, key by key, so that a file returns to its earlier state while
// other entries changed since then stay. Pure: texts in, changes out.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What counts of a file's bytes: the text up to its first zero byte.
std::string_view settingsText(std::string_view bytes);

// Whether two files' texts count as the same: their settings texts have the
// same crc32.
bool sameSettingsText(std::string_view earlier, std::string_view later);

enum class IniOperation : int32_t {
    clear = 20,    // write an empty value: the key stays, emptied
    restore = 22,  // write the earlier value
};

struct IniChange {
    std::string section;
    std::string key;
    std::string value;
    IniOperation operation = IniOperation::clear;

    bool operator==(const IniChange&) const = default;
};

// The changes that take the file from `later` back to `earlier`, section by
// section in the order of the earlier text, then the sections new in the
// later one. Each section's restores come before its clears. An entry that
// changed gives a restore of its earlier value and a clear of its later one:
// write every clear before any restore.
//
// A header is a line whose first character other than blanks is "["; its
// section's name is the text up to the first "]" (the whole rest when there
// is none), blanks around it dropped. Headers match as whole lines without
// regard to case. An entry is a line with "=": the key before the first "=",
// the value after it, both without blanks around them, as the profile
// interface reads them. Two entries are equal when their keys are equal
// without regard to case and their values are equal exactly, so a value whose
// letters only changed case still comes back. Lines before the first header,
// comments (";") and lines without "=" are never written back.
std::vector<IniChange> diffIniTexts(std::string_view earlier, std::string_view later);
