#pragma once
// A file handle closed when it goes out of scope, so that no early return
// leaves a file open.

#include <windows.h>

class OwnedFile {
public:
    explicit OwnedFile(HANDLE handle) : handle_(handle) {}
    ~OwnedFile() {
        if (isOpen()) CloseHandle(handle_);
    }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};
