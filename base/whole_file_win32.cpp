#include "base/whole_file_win32.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace {

WholeFile readWhole(const std::string& path, bool tellUnopened) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {FileReadStatus::Missing, {}};
    if (attributes.nFileSizeLow == 0 && attributes.nFileSizeHigh == 0) return {FileReadStatus::Missing, {}};

    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (tellUnopened) MessageBoxA(nullptr, "Unable to open data file.", "Error!", MB_OK);
        return {FileReadStatus::Unreadable, {}};
    }
    // The whole size, not its low 32 bits: a history over 4 GB must not
    // read as a small, damaged one.
    uint64_t size = uint64_t(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
    WholeFile whole{FileReadStatus::Read, {}};
    try {
        whole.bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        CloseHandle(file);
        return {FileReadStatus::Unreadable, {}};
    }
    size_t done = 0;
    while (done < whole.bytes.size()) {
        DWORD chunk = DWORD(std::min<size_t>(whole.bytes.size() - done, 1u << 30)), read = 0;
        if (!ReadFile(file, whole.bytes.data() + done, chunk, &read, nullptr) || read == 0) break;
        done += read;
    }
    CloseHandle(file);
    if (done != whole.bytes.size()) return {FileReadStatus::Unreadable, {}};
    return whole;
}

}  // namespace

WholeFile readWholeFile(const std::string& path) { return readWhole(path, true); }

WholeFile readWholeFileQuietly(const std::string& path) { return readWhole(path, false); }

bool writeFileWhole(const std::string& path, std::string_view bytes, DWORD disposition, WriteEnd end,
                    const std::function<bool()>& giveUp) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        if (giveUp && giveUp()) {
            ok = false;
            break;
        }
        DWORD piece = DWORD(std::min<size_t>(bytes.size() - done, 16u << 20)), written = 0;
        ok = WriteFile(file, bytes.data() + done, piece, &written, nullptr) && written != 0;
        done += written;
    }
    if (ok && end == WriteEnd::Flushed) ok = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return ok;
}

bool readFileQuietly(const std::string& path, std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 31);
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}
