#pragma once
// Retrace and its recorder share the window of Retrace's own work through a
// small named memory of the user's session (see own_work.h).

#include "monitor/own_work.h"

// Held by Retrace for as long as one piece of its own work lasts.
class OwnWork {
public:
    OwnWork();
    ~OwnWork();
    OwnWork(const OwnWork&) = delete;
    OwnWork& operator=(const OwnWork&) = delete;
};

// The recorder's view: whether what it sees now is Retrace's own work.
bool ownWorkUnderway();
