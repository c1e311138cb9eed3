#pragma once
// The rows of the Find sheet's tabs: the live file actions of one kind, or
// the downloads, newest first. Each row's value is its record's index in
// the action list.

#include <cstdint>
#include <span>
#include <vector>

#include "database/action_record.h"
#include "ui/list_texts.h"

enum class FindTab { Create, Modify, Rename, Copy, Move, Download };

// The indices of the records a tab lists, newest first. A kind tab leaves
// out undone records, boot markers, settings files changed by Explorer and
// the program settings others changed; the Download tab lists every
// download not undone.
std::vector<int32_t> findTabRecords(std::span<const ActionRecord> records, FindTab tab);

// Name (the file's path; before the change for a rename or move), date, time.
ListRow findRow(const ActionRecord& record, int32_t index);

// Where the record's file is now, as far as the record knows: after a rename
// or a move, the new path; otherwise the path it names.
RecordText pathNowOf(const ActionRecord& record);
