#include "recorder/directory_watch_win32.h"

#include <algorithm>

namespace {

constexpr DWORD changesWatched =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// The name in the code page, or false when a character has no place in it:
// the reports hold 8-bit names only. A conversion that fails outright (as
// it does where the code page is UTF-8) gives no name, never an empty one,
// which would name the watched folder itself.
bool ansiName(const WCHAR* name, DWORD characters, std::string& result) {
    BOOL defaulted = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, int(characters), nullptr, 0, nullptr, &defaulted);
    if (size <= 0) return false;
    result.assign(size_t(size), '\0');
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, int(characters), result.data(), size, nullptr,
                               &defaulted) == size &&
           !defaulted;
}

// Windows refuses to watch a folder on the network with more than 64 KB.
DWORD bufferBytesFor(const std::string& folder, DWORD wanted) {
    constexpr DWORD networkMost = 64 * 1024;
    const bool remote = folder.starts_with("\\\\") || GetDriveTypeA(folder.substr(0, 3).c_str()) == DRIVE_REMOTE;
    return remote ? std::min(wanted, networkMost) : wanted;
}

}  // namespace

DirectoryWatch::DirectoryWatch(std::string folder, bool recursive, DWORD bufferBytes)
    : folder_(std::move(folder)), recursive_(recursive), buffer_((bufferBytesFor(folder_, bufferBytes) + 3) / 4) {
    overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    handle_ = CreateFileA(folder_.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) reading_ = readAgain();
}

DirectoryWatch::~DirectoryWatch() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CancelIo(handle_);
        CloseHandle(handle_);
    }
    CloseHandle(overlapped_.hEvent);
}

bool DirectoryWatch::healthy() {
    DWORD flags = 0;
    if (handle_ != INVALID_HANDLE_VALUE && !GetHandleInformation(handle_, &flags)) abandonHandle();
    return reading_;
}

void DirectoryWatch::abandonHandle() {
    handle_ = INVALID_HANDLE_VALUE;
    reading_ = false;
}

bool DirectoryWatch::readAgain() {
    ResetEvent(overlapped_.hEvent);
    return ReadDirectoryChangesW(handle_, buffer_.data(), DWORD(buffer_.size() * 4), recursive_, changesWatched,
                                 nullptr, &overlapped_, nullptr) != 0;
}

DirectoryWatch::Read DirectoryWatch::collect() {
    Read read;
    DWORD bytes = 0;
    BOOL completed = GetOverlappedResult(handle_, &overlapped_, &bytes, FALSE);
    if (!completed && GetLastError() == ERROR_IO_INCOMPLETE) return read;
    if (!completed && GetLastError() == ERROR_INVALID_HANDLE) abandonHandle();
    // A full buffer fails the read or completes it empty; either way its
    // notices are gone.
    read.lost = !completed || bytes == 0;
    std::vector<RawNotice> records;
    const auto* base = reinterpret_cast<const BYTE*>(buffer_.data());
    for (DWORD offset = 0; completed && offset + sizeof(FILE_NOTIFY_INFORMATION) <= bytes;) {
        const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
        RawNotice record{info->Action, {}};
        if (ansiName(info->FileName, info->FileNameLength / sizeof(WCHAR), record.name))
            records.push_back(std::move(record));
        else
            ++read.unnamed;
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
    }
    reading_ = handle_ != INVALID_HANDLE_VALUE && readAgain();
    read.notices = noticesOf(folder_, records);
    return read;
}
