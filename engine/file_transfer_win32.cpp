#include "engine/file_transfer_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "base/file_operations_win32.h"
#include "engine/file_handle_win32.h"

namespace {

// Large enough to run at the disk's speed, small enough that a file of any
// size is copied in little memory.
constexpr DWORD kPieceSize = 1 << 20;

// Write-through, so a restored file is on the disk when the undo says so.
HANDLE createForWriting(const std::string& path, DWORD disposition) {
    makeFolders(path);
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_FLAG_WRITE_THROUGH, nullptr);
}

bool writeAll(HANDLE file, const char* data, size_t count) {
    while (count > 0) {
        DWORD piece = DWORD(count < kPieceSize ? count : kPieceSize);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written != piece) return false;
        data += piece;
        count -= piece;
    }
    return true;
}

bool copyPieces(HANDLE from, HANDLE to, uint64_t size) {
    std::unique_ptr<char[]> piece(new char[kPieceSize]);
    for (uint64_t copied = 0; copied < size;) {
        DWORD wanted = DWORD(size - copied < kPieceSize ? size - copied : kPieceSize);
        DWORD read = 0;
        if (!ReadFile(from, piece.get(), wanted, &read, nullptr) || read != wanted) return false;
        if (!writeAll(to, piece.get(), read)) return false;
        copied += read;
    }
    return true;
}

}  // namespace

bool copyWholeFile(const std::string& source, const std::string& destination, ExistingFile existing) {
    // Not shared, so nothing changes the source while it is copied.
    OwnedFile from(CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr));
    if (!from.isOpen()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(from.get(), &size)) return false;
    HANDLE to = createForWriting(destination, existing == ExistingFile::Keep ? CREATE_NEW : CREATE_ALWAYS);
    if (to == INVALID_HANDLE_VALUE) return false;
    bool copied = copyPieces(from.get(), to, uint64_t(size.QuadPart));
    FILETIME lastWrite;
    if (copied && GetFileTime(from.get(), nullptr, nullptr, &lastWrite)) SetFileTime(to, nullptr, nullptr, &lastWrite);
    CloseHandle(to);
    if (!copied) DeleteFileA(destination.c_str());
    return copied;
}

bool writeWholeFile(const std::string& path, std::string_view data) {
    OwnedFile file(createForWriting(path, CREATE_ALWAYS));
    return file.isOpen() && writeAll(file.get(), data.data(), data.size());
}

bool recycleFile(const std::string& path) {
    std::string from = path + '\0';  // the list ends with an empty entry
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // The undo reports its own failure; the shell still warns before a file
    // that cannot be recycled is deleted for good.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

void makeFolders(const std::string& path) {
    std::string folder = folderOf(path);
    // Every folder from the top down; the drive and folders that exist
    // already fail harmlessly.
    for (size_t end = folder.find('\\'); end != std::string::npos; end = folder.find('\\', end + 1))
        if (end > 0) CreateDirectoryA(folder.substr(0, end).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}
