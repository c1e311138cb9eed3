#pragma once
// Histories of one program too long to record through the monitor stand-in,
// written straight into the Undo Bin as Retrace stores them.

#include <string>
#include <vector>

#include "database/action_record.h"

// `count` file actions of the writer in runs of `perRun`, a minute apart,
// the oldest first: creates of docs\file00001.doc and on.
std::vector<ActionRecord> writerCreates(const std::string& docs, size_t count, size_t perRun);

// The same as modifies, each naming its saved copy in the bin, which holds
// "earlier <file name>".
std::vector<ActionRecord> writerModifies(const std::string& docs, const std::string& bin, size_t count,
                                         size_t perRun);

// Writes the records as the bin's action list, their flags derived as
// Retrace derives them, and the saved copies they name.
void storeHistory(const std::string& bin, std::vector<ActionRecord> records);
