#pragma once
// Who made a change, as far as the process list tells: the one program
// started since the last quiet moment, else the owner of the window in
// front, else nobody. The same answer holds for every change of a batch.

#include <windows.h>

#include "recorder/change_attribution.h"

class SnapshotAttribution : public ChangeAttribution {
public:
    SnapshotAttribution();
    void batchBegins() override;
    Program programOf(std::string_view path) override;
    void batchEnds() override;

private:
    uint64_t quietSince_;
    Program program_;
    bool lookedAgain_ = false;
};
