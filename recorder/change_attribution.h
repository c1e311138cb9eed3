#pragma once
// Where the recorder learns who made a change. The recorder tells the source
// when a batch of changes begins and when it has gone quiet again, and asks
// for each change when the batch closes. A source that sees who opened which
// file or key (event tracing on Windows) answers by the path; one that only
// sees the process list answers the same for the whole batch.

#include <string_view>

#include "recorder/program_choice.h"

class ChangeAttribution {
public:
    virtual ~ChangeAttribution() = default;
    // The first change of a batch has just been seen.
    virtual void batchBegins() = 0;
    // Who changed the file or key at `path` in the batch; an unknown
    // program when the source cannot tell.
    virtual Program programOf(std::string_view path) = 0;
    // The batch is written: from now on is a quiet moment.
    virtual void batchEnds() = 0;
};
