#pragma once
// Memory in another process of the test's, for the messages whose pointers
// Wine does not carry across processes and for threads started there.

#include <windows.h>

#include <cstddef>
#include <optional>

// Memory in another process, for a message that points into it or a thread
// started there with its address.
// A thread that does not end in time may still use it: it is then left.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    // Where the block lies in the other process, for a message to point at.
    void* address() const { return address_; }

    bool write(const void* bytes, size_t size) {
        return address_ && WriteProcessMemory(process_, address_, bytes, size, nullptr);
    }
    bool read(size_t offset, void* bytes, size_t size) const {
        return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, bytes, size, nullptr);
    }
    // The exit code of the function run in a new thread of the process with
    // the block's address, or nothing when it did not run or end in time.
    std::optional<DWORD> run(LPTHREAD_START_ROUTINE function) {
        HANDLE thread = address_ ? CreateRemoteThread(process_, nullptr, 0, function, address_, 0, nullptr) : nullptr;
        if (!thread) return std::nullopt;
        DWORD code = 0;
        const bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        if (!ended) {
            address_ = nullptr;
            return std::nullopt;
        }
        return code;
    }

private:
    HANDLE process_;
    void* address_;
};
