#pragma once
// Where the text of a settings file just after a recorded change is kept.

#include <cstddef>
#include <optional>
#include <span>

#include "database/action_record.h"

// The first file record after `index` for the same path (compared without
// regard to case), undone or not, that is neither Explorer's nor that of
// "msgsrv32": its saved copy holds the file as it was before that later
// change, which is the file just after this one. Nothing when there is none,
// and then the file as it is now is the text after the change.
std::optional<size_t> laterChangeOf(std::span<const ActionRecord> records, size_t index);
