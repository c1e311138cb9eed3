#pragma once
// What the Options pages make of what the user typed, and what they store.
// Numbers are typed in Mbytes and Kbytes but stored in bytes in 32 bits, so
// every conversion here keeps the result within what 32 bits hold.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

// A number as typed into a field: decimal digits, blanks around them
// allowed. Any other text reads as 0; a number too large for 64 bits reads
// as the largest.
uint64_t typedNumber(std::string_view text);

// Entries per tray-menu section, brought into 1 to 10.
uint32_t menuSizeFromTyped(std::string_view text);

// UndoBinSize from the Mbytes typed: at least 1 Mbyte, and at most the
// whole Mbytes that 32 bits of bytes hold (4,294), so a large number never
// wraps into a small limit that would trim the whole history.
inline constexpr uint32_t largestBinMbytes = 4294;
uint32_t binSizeFromTyped(std::string_view text);

// LargeFileSize from the Kbytes typed, at most the whole Kbytes 32 bits
// hold; nothing when below the smallest file that can be ignored.
inline constexpr uint32_t smallestIgnoredKbytes = 250;
std::optional<uint32_t> largeFileSizeFromTyped(std::string_view text);

// The custom extensions as typed ("bal, ppt,dbf"), cut at commas and
// spaces, as stored ("bal|ppt|dbf"); and a stored list as the field shows it.
std::string customListFromTyped(std::string_view typed);
std::string customListForShow(std::string_view stored);

// The items joined with "|" when they fit a field of `capacity` bytes with
// its terminator; nothing when they do not, so that no item is lost unseen.
std::optional<std::string> joinListFor(std::span<const std::string> items, size_t capacity);

// Whether a list shows an item equal to the text, case aside.
bool listHolds(std::span<const std::string> items, std::string_view text);

// What the File List page stores: the registered types the user removed
// from the list (those in szPermaDelExts never show, so never count as
// removed), and the listed types no registered type matches, in list order.
struct FileListChoice {
    std::vector<std::string> settingExts;
    std::vector<std::string> fileExts;
};
FileListChoice fileListChoice(std::span<const std::string> registered, std::string_view permaDelExts,
                              std::span<const std::string> listed);

// What the Settings page does with the Undo Bin folder in its field. The
// bin's upkeep deletes every file there that no record names, so only a new
// or empty folder, or one that already holds an action list, may become it.
enum class BinFolderChoice {
    Keep,        // no change: empty text, or the folder now in use with no move pending
    CancelMove,  // the folder now in use again: the pending move is dropped
    Move,        // the folder becomes UndoBinPathNew
    RefuseRoot,  // the root of a drive or a share
    RefuseFull,  // a folder that holds files of its own
};
// What the disk says of the folder typed.
struct FolderState {
    bool holdsFiles = false;       // anything in it at all
    bool holdsActionList = false;  // it is, or was, an Undo Bin
};
BinFolderChoice chooseBinFolder(std::string_view typed, const Settings& settings, const FolderState& state);

// The message that tells why a folder was refused; empty for the others.
std::string binFolderRefusal(BinFolderChoice choice, std::string_view folder);

// The Information page's version line.
std::string versionLine(std::string_view version);

// The link behind an Information page button: the third, fourth or fifth
// line of "software.txt" for the first, second and third button; empty when
// that line is missing.
std::string informationLink(std::span<const std::string_view> lines, size_t button);
