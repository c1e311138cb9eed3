#include "engine/restore_win32.h"

#include <windows.h>

#include "base/file_operations_win32.h"
#include "engine/file_handle_win32.h"
#include "engine/file_transfer_win32.h"
#include "engine/restore_name.h"
#include "monitor/saved_copy_reader.h"

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {}
    bool read(std::span<uint8_t> into) override {
        for (size_t done = 0; done < into.size();) {
            DWORD wanted = DWORD(std::min<size_t>(into.size() - done, 1u << 30));
            DWORD read = 0;
            if (!ReadFile(file_, into.data() + done, wanted, &read, nullptr) || read == 0) return false;
            done += read;
        }
        return true;
    }

private:
    HANDLE file_;
};

bool writeAll(HANDLE file, std::span<const uint8_t> bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
}

}  // namespace

std::string makeRestoreName(const std::string& path, std::string_view suffix) {
    return makeRestoreName(path, suffix, fileExists);
}

RestoreOutcome restoreSavedCopy(const std::string& savedPath, const std::string& targetPath) {
    RestoreOutcome outcome;
    OwnedFile saved(CreateFileA(savedPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!saved.isOpen() || !GetFileSizeEx(saved.get(), &size)) return outcome;
    FileSource source(saved.get());
    SavedCopyReader reader(source, uint64_t(size.QuadPart));
    if (!reader.readTotal()) return outcome;

    std::string restorePath = makeRestoreName(targetPath, restoreSuffix);
    if (restorePath.empty()) return outcome;
    makeFolders(restorePath);
    OwnedFile restore(CreateFileA(restorePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!restore.isOpen()) return outcome;
    outcome.restorePath = restorePath;
    bool writing = true;
    while (writing && reader.next()) writing = writeAll(restore.get(), reader.output());
    outcome.restored = writing && reader.complete();
    return outcome;
}
