#pragma once
// What the preview of an undo says, worked out from the records and from what
// the Win32 side read of the disk and the registry: the words for a file
// action, two versions of a text side by side, the settings a session puts
// back, and whether a file was changed after the action. Pure: reads nothing.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"
#include "engine/ini_diff.h"
#include "engine/registry_path.h"
#include "ui/list_texts.h"

// At most this much of each version is read for the preview.
inline constexpr size_t previewReadLimit = 64 * 1024;

inline constexpr std::string_view earlierVersionMissing = "The earlier version is not available";

// Whether bytes read as text, as editors decide: no zero byte, and almost no
// control characters other than tab, line ends and form feed.
bool looksLikeText(std::string_view bytes);

enum class LineMark { Same, Changed, OnlyEarlier, OnlyNow };

// One row of two texts side by side; a number is 0 where its side has no line.
struct PreviewLine {
    size_t earlierNumber = 0;
    size_t nowNumber = 0;
    std::string earlier;
    std::string now;
    LineMark mark = LineMark::Same;
    bool operator==(const PreviewLine&) const = default;
};

// The two texts line by line, lines they share aligned: a line of one side
// facing a different line of the other is Changed; a line with nothing facing
// it is OnlyEarlier or OnlyNow. Lines end at LF, with a CR before it dropped;
// tabs show as four blanks. When the middle that differs is too long to
// align, its lines are paired in order.
std::vector<PreviewLine> sideBySideLines(std::string_view earlier, std::string_view now);

// The rows of the text preview: line number, mark ("" same, "<>" changed,
// "<" only in the version that comes back, ">" only in the file now), the
// line that comes back, the line now. Each row's value is its place.
std::vector<ListRow> textPreviewRows(std::span<const PreviewLine> lines);

// What the undo of one file action does, in words. `restoreName` is where
// a Delete's or Modify's earlier version will be written; `folderMissing`
// says the folder it goes into must be made again.
std::string fileUndoWords(const ActionRecord& record, const std::string& restoreName, bool folderMissing);

// The file as it is now, as far as the check of later changes needs it.
struct FileNow {
    bool exists = false;
    uint32_t size = 0;
    uint16_t time = 0;  // MS-DOS time of its last write
};

// The line the confirmation and the preview show when the file the action
// left was changed after it: by a later recorded action of any program
// ("Changed since 10:42 by Excel: ..."), or, when none was recorded, because
// the file is not what the record says the action left (a Delete's name
// taken again, another size). Nothing when it is as the action left it, or
// for records that are not file actions.
std::optional<std::string> changedSinceNotice(std::span<const ActionRecord> records, size_t index,
                                              const FileNow& now);

// The first later record, not undone, of a file action on the path the
// action at `index` left; nothing when there is none.
std::optional<size_t> laterFileAction(std::span<const ActionRecord> records, size_t index);

// The path a file action left its file at: the new name of a Rename or Move,
// the file's own path otherwise.
RecordText pathLeftBy(const ActionRecord& record);

// A registry value's data as a person reads it: a string up to its zero, a
// DWORD in decimal, several strings joined by " | ", other data as hex bytes
// (the first 32, then "..."). Empty data shows "(empty)".
std::string registryValueText(uint32_t type, std::string_view data);

struct RegistryValueNow {
    uint32_t type = 0;
    std::string data;
};

// What the Win32 side reads for the settings rows: a registry value now
// (nothing when missing), and a settings file's text before the change and
// just after it (nothing when the earlier version cannot be read).
struct SettingsNow {
    std::function<std::optional<RegistryValueNow>(const KeyPath&)> registryValue;
    struct IniTexts {
        std::string earlier;
        std::string later;
    };
    std::function<std::optional<IniTexts>(int32_t index)> iniTexts;
};

// One row per setting the undo of these records (in the order given) puts
// back: key, value name, value now, value that comes back. A key the undo
// deletes comes back "removed"; settings-file entries are listed key by key,
// "[section]" after the file's path, as the settings undo writes them, an
// entry it empties coming back "(empty)". Each row's value is its record.
std::vector<ListRow> settingRows(std::span<const ActionRecord> records, std::span<const int32_t> order,
                                 const SettingsNow& now);

// What the undo of a session's records takes, in words: the settings listed
// below, and how many file actions besides.
std::string sessionPreviewWords(std::span<const ActionRecord> records, std::span<const int32_t> order);

// "10:42" of an MS-DOS time word, on the 24-hour clock.
std::string formatHourMinute(uint16_t time);
