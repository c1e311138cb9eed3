#pragma once
// What a directory watch says about the files under it, after the fact: a
// name and what happened to it, never the content from before nor who did
// it. The watch's raw records become notices with full paths here.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class NoticeAction { Added, Removed, Modified, Renamed };

struct FileNotice {
    NoticeAction action = NoticeAction::Modified;
    std::string path;     // full path; Renamed: the old one
    std::string newPath;  // Renamed: the new path
    bool folder = false;  // the path names a folder, as far as the watcher can tell
    uint64_t seen = 0;    // when the recorder was told, in the system clock; 0: not known
};

// One record as the watch gives it: the action code (1 added, 2 removed,
// 3 modified, 4 renamed from, 5 renamed to) and the name relative to the
// watched folder.
struct RawNotice {
    uint32_t action = 0;
    std::string name;
};

// The records of one read, in order, as notices under `root`: a rename's two
// halves become one Renamed; a lone old half is a removal and a lone new half
// an addition, as when the other half lies outside the watch. Unknown codes
// are left out.
std::vector<FileNotice> noticesOf(std::string_view root, std::span<const RawNotice> records);

// The notices with every path that `excluded` names taken out: a rename out
// of view is a removal, one into view an addition.
std::vector<FileNotice> withoutExcluded(std::vector<FileNotice> notices,
                                        const std::function<bool(std::string_view)>& excluded);
