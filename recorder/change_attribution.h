#pragma once
// Where the recorder learns who made a change. The recorder tells the source
// when a batch of changes begins and when it has gone quiet again, and asks
// for each change, by its path and when it was seen, once the batch closes.
// A source that sees who opened which file or key (event tracing on Windows)
// answers by the path; one that only sees processes come and go answers by
// the time, and must wait a little after the change to see who ends.

#include <cstdint>
#include <string_view>

#include "recorder/program_choice.h"

class ChangeAttribution {
public:
    virtual ~ChangeAttribution() = default;
    // The first change of a batch has just been seen.
    virtual void batchBegins() = 0;
    // Something is changing now: called on any thread, the moment a watch
    // fires, before the change is read. A source that looks from time to
    // time looks at once, and often for a while, so that a program that
    // lives a moment is seen while it makes its change.
    virtual void changesStir() = 0;
    // How long after its latest change a batch must stay open before the
    // source can answer for it.
    virtual uint64_t answerDelayMilliseconds() const = 0;
    // Who changed the file or key at `path`, seen at `seen` (the system
    // clock); an unknown program when the source cannot tell.
    virtual Program programOf(std::string_view path, uint64_t made, uint64_t seen) = 0;
    // The batch is written: from now on is a quiet moment.
    virtual void batchEnds() = 0;
};
