#pragma once
// The shared whole-file reading and writing of the action list, the
// reports, the saved copies and the recorder's own files.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

enum class FileReadStatus {
    Read,        // `bytes` holds exactly the file's bytes
    Missing,     // no such file, or an empty one: not an error
    Unreadable,  // the file exists but could not be opened or read whole
};

struct WholeFile {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};

// Reads a whole file. A file that exists but cannot be opened shows "Unable
// to open data file." titled "Error!"; a short read is Unreadable too.
WholeFile readWholeFile(const std::string& path);

// readWholeFile without the message, for background work that no one waits
// on to answer a box.
WholeFile readWholeFileQuietly(const std::string& path);

// The whole file, read without holding off anyone who writes it meanwhile,
// and without a message: a background or console program must never wait on
// a dialog. False when it cannot be read.
bool readFileQuietly(const std::string& path, std::string& bytes);

// How a whole-file write ends. A file written to take another's place is
// flushed to the disk first, so that a crash cannot leave a short file there.
enum class WriteEnd { Closed, Flushed };

// Writes the file whole; `disposition` as CreateFile takes it: CREATE_NEW for
// a name that must be free, CREATE_ALWAYS to replace. Large files go in
// pieces, and `giveUp`, when given, is asked before each. False when it
// could not, or gave up.
bool writeFileWhole(const std::string& path, std::string_view bytes, DWORD disposition,
                    WriteEnd end = WriteEnd::Closed, const std::function<bool()>& giveUp = {});
