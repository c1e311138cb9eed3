#pragma once
// Real folders and files for the Windows tests: a folder of the test's own
// under the temporary folder, and the Undo Bin the settings name.

#include <optional>
#include <string>

// Made empty when constructed and removed with all it holds when destroyed.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Deletes a folder and everything in it for good.
void deleteTree(const std::string& folder);

// Makes the settings name `folder` as the Undo Bin.
void useUndoBin(const std::string& folder);

// Writes the file whole, making its folders; fails the test when it cannot.
void putFile(const std::string& path, const std::string& content);

// The file's bytes, read quietly: the program's own reader reports a file it
// cannot open in a message box, which would hold a test that polls a file
// Retrace is replacing. Nothing when the file cannot be opened or read.
std::optional<std::string> bytesOf(const std::string& path);

// The file's bytes, or "<missing>" when it cannot be read.
std::string contentOf(const std::string& path);

// Whether anything, file or folder, has that name.
bool exists(const std::string& path);
