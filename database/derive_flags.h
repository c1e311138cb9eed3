#pragma once
// The slots that every rebuild recomputes for every record: whether a record
// is a program's setting or the user's file, by whom, and which Recycle
// records a later permanent Delete has retired.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/ignore_case_hash.h"
#include "database/action_record.h"

struct DerivedFlagInputs {
    // The data-file extension list, without dots; empty entries are removed
    // extensions and match nothing.
    std::vector<std::string> dataFileExtensions;
    std::string downloadModules;  // szDownloadModules
};

enum class SettingsFileClass {
    none,
    profile,    // restored key by key with profile-string writes
    wholeFile,  // restored as a whole
};

// The class of a Modify of a settings file: "*.ini" and "msdos.sys" are
// profiles, "config.sys" and "autoexec.bat" whole files. Any other kind, or a
// path without both a backslash and a dot, is none.
SettingsFileClass isSettingsFileChange(std::string_view path, int32_t kind);

// The data-file extensions ready for lookups, built once per rebuild.
class DataExtensionSet {
public:
    explicit DataExtensionSet(std::span<const std::string> extensions);
    bool contains(std::string_view extension) const { return extensions_.contains(extension); }

private:
    std::unordered_set<std::string, IgnoreCaseHash, IgnoreCaseEqual> extensions_;
};

// Whether the text after the path's last dot is a data-file extension.
bool hasDataExtension(std::string_view path, const DataExtensionSet& extensions);

// The index of the last Delete of each recycled path, taken once per
// rebuild; 0 for a recycled path never deleted. Its keys point into the
// records' paths, which must outlive it unchanged.
using LastDeleteIndex = std::unordered_map<std::string_view, size_t, IgnoreCaseHash, IgnoreCaseEqual>;
LastDeleteIndex indexLastDeletes(std::span<const ActionRecord> records);

// 1 when record j is a Recycle and a later record is a Delete of the same
// path: the recycled file has since been deleted for good. Else 0.
int32_t isSupersededRecycle(std::span<const ActionRecord> records, size_t j, const LastDeleteIndex& lastDeletes);

// Recomputes isControlPanel, isExplorer, isBootMarker, isSetting and
// isDownload of every record, sets isIniFile for a Modify of a profile (never
// clearing it), and adds 1 to undone of every superseded Recycle.
void deriveFlags(std::span<ActionRecord> records, const DerivedFlagInputs& inputs);

// deriveFlags for a list that only grows at its end between rebuilds, as
// actionList does: each rebuild derives the records appended since the last
// one and adds 1 to undone of every Recycle retired so far, which is what
// deriveFlags over the whole list does as long as the inputs stay the same.
// The records' own fields never change once appended; undone does, but no
// flag depends on it.
class FlagDeriver {
public:
    void derive(std::vector<ActionRecord>& records, const DerivedFlagInputs& inputs);

    // The first `count` records were dropped from the front of `records`.
    void droppedFront(const std::vector<ActionRecord>& records, size_t count);

private:
    bool coversPrefixOf(const std::vector<ActionRecord>& records, const DerivedFlagInputs& inputs) const;
    void forget();

    size_t derived_ = 0;
    DerivedFlagInputs inputs_;
    // The first and the last record derived, to tell a list replaced
    // wholesale (a load) or cut at its front from one that only grew.
    ActionRecord first_, last_;
    // Recycle records not yet retired, by path, and the retired ones. The
    // path is the record's own stored text, not a copy of it.
    std::unordered_map<RecordText, std::vector<size_t>, IgnoreCaseHash, IgnoreCaseEqual> recycles_;
    std::vector<size_t> retired_;
};
