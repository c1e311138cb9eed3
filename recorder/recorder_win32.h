#pragma once
// retrace-recorder: records, from user mode, what the change monitor
// drivers recorded, into the same two reports and saved copies in the Undo
// Bin. It watches the places a person's work lives and the registry keys
// programs keep their settings in, turns what it sees into report entries
// batch by batch, and answers Retrace's requests to stop and start logging.

#include <windows.h>

#include <string>
#include <vector>

struct RecorderOptions {
    // What a watch holds between two reads: a burst of thousands of saves
    // fits. Wine drops, without a word, what does not fit.
    DWORD watchBufferBytes = 1024 * 1024;
    std::vector<std::string> extraFolders;  // watched besides the user's Desktop and Documents
};

// Runs until asked to quit; returns the process's exit code. A recorder
// that finds another running in the session ends at once.
int runRecorder(const RecorderOptions& options);
