#include "monitor/bin_lock_win32.h"

#include <windows.h>

#include "base/crc32.h"
#include "base/text.h"

namespace {

// One name per bin folder however it is spelt in case, and per writer.
std::string lockName(BinWriter writer, std::string binFolder) {
    while (binFolder.size() > 3 && binFolder.ends_with('\\')) binFolder.pop_back();
    std::string folder = toLowerAscii(binFolder);
    char hash[16];
    wsprintfA(hash, "%08lX", static_cast<unsigned long>(crc32(folder.data(), folder.size())));
    return std::string("Global\\RetraceUndoBin.") + hash + (writer == BinWriter::Retrace ? ".Retrace" : ".Recorder");
}

bool owned(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

}  // namespace

UndoBinLock::UndoBinLock(BinWriter writer, const std::string& binFolder, unsigned long patience) {
    mutex_ = CreateMutexA(nullptr, FALSE, lockName(writer, binFolder).c_str());
    // An owner that ended without letting go leaves the lock to be taken.
    held_ = mutex_ && owned(WaitForSingleObject(mutex_, patience));
}

UndoBinLock::~UndoBinLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}

bool binRecorderLockTaken(const std::string& binFolder, unsigned long patience) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, lockName(BinWriter::Recorder, binFolder).c_str());
    if (!mutex) return false;
    const bool free = owned(WaitForSingleObject(mutex, patience));
    if (free) ReleaseMutex(mutex);
    CloseHandle(mutex);
    return !free;
}

std::string binTakenMessage(const std::string& binFolder) {
    return "Another user or session is already recording into the Undo Bin \"" + binFolder +
           "\". Two cannot share one Undo Bin, so nothing is recorded here: choose another Undo Bin folder for "
           "this user in Retrace Options.";
}
