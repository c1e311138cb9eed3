#pragma once
// The points Start Over goes back to, as its lists show them: the hours, the
// program starts and the boots of the history, newest first.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "database/action_record.h"

// "12/07/26 12:00:00 PM": the day and the hour the record begins.
std::string hourPointText(const ActionRecord& first);

// "NOTEPAD 12/07/26 09:15:02 AM": the program and the moment its run began.
std::string programStartText(const ActionRecord& first);

// "12/07/26 08:00:00 AM": the moment of the boot.
std::string bootPointText(const ActionRecord& marker);

// The action list index that entry `entry` of a newest-first list of
// `points` stands for; -1 for an entry the list does not have.
int32_t pointOfEntry(std::span<const int32_t> points, int entry);

// Whether a boot marker's text can name files of the SO folder: 1 to 8
// characters, none of which leads out of that folder.
bool isStartOverSetName(std::string_view markerText);
