#pragma once
// The file monitor's report, "filereport.000": one entry per file change and
// one per start of the monitor, turned into what a user would call actions.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/action_kind.h"

inline constexpr size_t maxReportPathLength = 259;

struct FileReportEntry {
    std::string path;         // at most 259 characters
    char programName[9] = {};  // module name, 8 characters and a terminator
    std::string programPath;  // at most 259 characters
    uint32_t processId = 0;
    uint16_t date = 0;  // MS-DOS date
    uint16_t time = 0;  // MS-DOS time
    uint32_t size = 0;
    uint32_t extra = 0;  // carried unchanged
    int32_t kind = kindNone;
    std::string otherPath;    // at most 259 characters
    // otherPath in the report's own case, as the monitor named the file (a
    // Delete's or a Modify's saved copy), before any rewriting. A file is
    // found fastest by the name it has on disk where case tells names apart.
    std::string otherPathAsWritten;
    char markerText[9] = {};  // a boot marker's text
};

// The entries of a report in file order: text fields up to their first zero
// byte with A-Z in lower case, integers as they are. Reading stops at an entry
// that does not fit in the bytes left; an entry with a string longer than 259
// characters is skipped by its lengths. `wholeBytes`: see readReportEntries.
std::vector<FileReportEntry> parseFileReport(std::string_view bytes, size_t* wholeBytes = nullptr);

// One entry as the monitor writes it: 48 + L1 + L2 + L3 bytes.
std::string serializeFileReportEntry(const FileReportEntry& entry);

// Whether the reader takes the entry whole: every path within 259
// characters. A longer one would end its reading and lose every later entry,
// so a monitor never writes such an entry.
bool fitsFileReport(const FileReportEntry& entry);

// The text a boot marker carries when the monitor gives it none: its date
// and time words in hexadecimal, unique at a clock of two seconds.
std::string bootMarkerText(uint16_t date, uint16_t time);

// Where the history says a file now in the Recycle Bin was before it was
// recycled, if it says so. The answers must outlive the post-processing.
using RecycledFromHistory = std::function<std::optional<std::string_view>(std::string_view binPath)>;

// Rewrites the entries into actions: Explorer copies and move pairs, renames
// that keep the file name, deletions of recycled files mapped back to their
// former paths (through the report, then through `history`, which may be
// empty), and sizes of created files (`currentFileSize` for a size still 0).
void postProcessFileReport(std::vector<FileReportEntry>& entries, const RecycledFromHistory& history,
                           const std::function<uint32_t(const std::string&)>& currentFileSize);
