// What the recorder asks of real files when it places a change in time.

#include <gtest/gtest.h>
#include <windows.h>

#include "recorder/folder_scan_win32.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

uint64_t now() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// Dates the file's last write to the year 2001, as a copy's source may be.
void dateBack(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const FILETIME longAgo{0x8ACE4000, 0x01C0EB5E};
    SetFileTime(file, nullptr, nullptr, &longAgo);
    CloseHandle(file);
}

// A file system stamps its times from a clock that moves in ticks of a few
// milliseconds, so a change may carry a time a tick before it was made.
constexpr uint64_t coarseClockSlack = 20 * 10000;

}  // namespace

// A copy keeps its source's last write time and a rename keeps the file's,
// so only the change time tells when either was made.
TEST(FolderScan, AFilesChangeTimeIsWhenItWasLastCopiedOrRenamedWhateverItsWriteTimeSays) {
    ScratchFolder folder("Retrace Change Times");
    putFile(folder / "source.txt", "settings of 2001");
    dateBack(folder / "source.txt");
    Sleep(100);

    struct Case {
        const char* what;
        std::string made;
        BOOL (*make)(const std::string&, const std::string&);
    };
    const Case cases[] = {
        {"copy", folder / "copy.txt",
         [](const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), TRUE); }},
        {"rename", folder / "renamed.txt",
         [](const std::string& from, const std::string& to) { return MoveFileA(from.c_str(), to.c_str()); }},
    };
    for (const Case& change : cases) {
        SCOPED_TRACE(change.what);
        const std::string source = folder / "source.txt";
        const uint64_t before = now();
        ASSERT_TRUE(change.make(source, change.made));
        const uint64_t after = now();
        CatalogEntry entry;
        ASSERT_TRUE(entryOnDisk(change.made, entry));
        EXPECT_LT(entry.lastWrite, before) << "the write time is the source's";
        const uint64_t changed = fileChangeTime(change.made);
        EXPECT_GE(changed + coarseClockSlack, before);
        EXPECT_LE(changed, after);
        Sleep(100);
    }
    EXPECT_EQ(fileChangeTime(folder / "source.txt"), 0u) << "nothing is left to ask of a file renamed away";
}
