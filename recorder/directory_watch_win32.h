#pragma once
// One folder watched for changes to the files under it, read without
// waiting: the system fills a buffer between two reads, and an event tells
// that a read has completed.

#include <windows.h>

#include <string>
#include <vector>

#include "recorder/file_notice.h"

class DirectoryWatch {
public:
    // Watches `folder`, with everything below it when `recursive`. The
    // system keeps at most `bufferBytes` of notices between two reads; what
    // does not fit is lost, and the next read says so.
    DirectoryWatch(std::string folder, bool recursive, DWORD bufferBytes);
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    bool watching() const { return reading_; }
    // Still reading, through a handle that is still open: a handle closed
    // from under the recorder completes no read and says nothing. Such a
    // handle is let go, never closed again, as its value may be another's by now.
    bool healthy();
    const std::string& folder() const { return folder_; }
    bool recursive() const { return recursive_; }
    // Set when a read has completed.
    HANDLE event() const { return overlapped_.hEvent; }

    struct Read {
        std::vector<FileNotice> notices;
        bool lost = false;      // the buffer overflowed: what it held is gone
        uint32_t unnamed = 0;   // names the code page cannot spell, left out
    };
    // What the completed read brought; reads again at once.
    Read collect();

private:
    bool readAgain();
    void abandonHandle();

    std::string folder_;
    bool recursive_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped_{};
    std::vector<DWORD> buffer_;  // DWORD-aligned, as the system requires
    bool reading_ = false;
};
