#pragma once
// One writer per Undo Bin on the whole machine. Two users or two sessions
// pointed at one bin would append to one report, each Retrace would save its
// list over the other's and sweep the other's saved copies. So each of
// Retrace and its recorder holds a machine-wide lock on its bin for as long
// as it runs; a second one, of another session, that cannot get it records
// nothing.

#include <string>

enum class BinWriter { Retrace, Recorder };

class UndoBinLock {
public:
    // Waits up to `patience` milliseconds for a writer that is ending, such
    // as a Retrace finishing its last save after "UNLOAD".
    UndoBinLock(BinWriter writer, const std::string& binFolder, unsigned long patience = 0);
    ~UndoBinLock();
    UndoBinLock(const UndoBinLock&) = delete;
    UndoBinLock& operator=(const UndoBinLock&) = delete;

    bool held() const { return held_; }

private:
    void* mutex_ = nullptr;
    bool held_ = false;
};

// Whether a recorder holds the bin's lock, this process aside, after waiting
// up to `patience` milliseconds for one that is ending to let go.
bool binRecorderLockTaken(const std::string& binFolder, unsigned long patience = 0);

// What a writer that cannot get the lock says, once.
std::string binTakenMessage(const std::string& binFolder);
