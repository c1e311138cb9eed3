#pragma once
// The action list: every recorded change and boot marker, oldest first, and
// its file form "actionlist.000". Pure: bytes in, records out.
//
// The file has no header, count or checksum: records follow one another to
// its end, integers little-endian. One record takes 81 + L1 + L2 + L3 + L4
// bytes:
//   9   programName, the field's 9 bytes
//   4   L1, then L1 bytes of programPath
//   4+4+2+2+4   processId, kind, date, time, source
//   4   L2, then L2 bytes of dataA
//   4   L3, then L3 bytes of dataB
//   4   L4, then L4 bytes of dataC
//   40  the ten integer slots, sizeA to isDownload

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"

// Process-wide, used by the main thread only. Code holds indices into it,
// never pointers or references: every append may move the records.
extern std::vector<ActionRecord> actionList;

inline int actionCount() { return int(actionList.size()); }

// Counts the times records were dropped from actionList or it was loaded
// anew, which move every index; appending, undoing and redoing leave it.
// What is worked out from the history by index may be kept while it stays.
extern uint64_t actionListChanges;

// Names of the files this list keeps in the Undo Bin folder. A save writes
// the temporary file whole and only then puts it in place of the list file;
// the Undo Bin sweep leaves both alone.
inline constexpr const char* actionListFileName = "actionlist.000";
inline constexpr const char* actionListTemporaryFileName = "actionlist.000.new";

// Where a damaged list file is kept aside, for the n-th try (n from 1):
// "BACKUP actionlist.000", then "BACKUP 2 actionlist.000" and so on, so an
// earlier backup is never overwritten. The sweep leaves names beginning
// with "BACKUP" alone.
std::string actionListBackupName(int attempt);

struct ParsedRecord {
    ActionRecord record;
    size_t next = 0;  // offset just behind the record
};

// Parses the record that starts at `offset`. Returns nothing when it does
// not fit in the bytes behind `offset`; a length field is compared with the
// bytes that remain, never added to an offset first, so no value can wrap.
// A ninth programName byte other than zero is read as the terminator, so
// every loaded name is terminated within its field.
std::optional<ParsedRecord> parseRecord(std::string_view bytes, size_t offset);

// Appends the record's file form to `out`. Every variable part is written
// with its length as held: a path its string length, registry value data
// its bytes, zero bytes included. That length equals sizeA or sizeB for
// every registry record the program makes; a record whose sizeA or sizeB
// disagrees (only a damaged file can give one) keeps both as they are, so
// nothing is read past its data and the next load gives the record back.
// Each part must be shorter than 4 GiB, as every part read from a file is.
void serializeRecord(const ActionRecord& record, std::string& out);

struct ParsedActionList {
    std::vector<ActionRecord> records;  // undone records left out
    bool damaged = false;               // then `records` is empty
};

// A whole file's bytes. A record that does not fit anywhere makes the whole
// list empty and damaged: a history with a hole in it would be worse.
ParsedActionList parseActionList(std::string_view bytes);

// The records in front of the first one that does not fit, undone ones
// included: what a list kept aside for its damage can still give back.
std::vector<ActionRecord> readableActionRecords(std::string_view bytes);

// The file form of a whole list, undone records included.
std::string serializeActionList(const std::vector<ActionRecord>& records);

// serializeActionList, or nothing once `giveUp` answers true: it is asked
// every few thousand records, so a long list's save can stop soon.
std::optional<std::string> serializeActionListUnless(const std::vector<ActionRecord>& records,
                                                     const std::function<bool()>& giveUp);
