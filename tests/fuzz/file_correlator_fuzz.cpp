// A batch of notices as a directory watch might report it, spelled by the
// input: the first byte says which paths existed before, then every three
// bytes are one notice (what happened, to which path, to which new path).
// Whatever the order, the changes name only paths of the watch and carry
// what their kind needs: two paths for a rename, where the earlier content
// lies for a deletion or a modification, and nothing more.

#include <set>

#include "base/text.h"
#include "database/action_record.h"
#include "recorder/file_correlator.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

const char* const paths[] = {"C:\\D\\a.txt", "C:\\D\\b.txt", "C:\\D\\Sub",   "C:\\D\\Sub\\a.txt",
                             "C:\\D\\~tmp", "C:\\D\\A.TXT", "C:\\Bin\\$Ra", "C:\\Bin\\$Ia"};

bool withinWatch(const std::string& path) {
    return path.size() > 5 && (equalsIgnoreCase(path.substr(0, 5), "C:\\D\\") || equalsIgnoreCase(path.substr(0, 7), "C:\\Bin\\"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t knownMask = data[0];
    auto knownIndex = [&](std::string_view path) -> int {
        for (int index = 0; index < 8; ++index)
            if (equalsIgnoreCase(path, paths[index]) && (knownMask >> index & 1)) return index;
        return -1;
    };
    std::vector<FileNotice> notices;
    for (size_t at = 1; at + 3 <= size; at += 3) {
        FileNotice notice;
        notice.action = NoticeAction(data[at] & 3);
        notice.folder = (data[at] & 4) != 0;
        notice.path = paths[data[at + 1] & 7];
        if (notice.action == NoticeAction::Renamed) notice.newPath = paths[data[at + 2] & 7];
        notices.push_back(std::move(notice));
    }
    std::vector<FileChange> changes = correlateNotices(
        notices,
        [&](std::string_view path) -> std::optional<KnownPath> {
            int index = knownIndex(path);
            if (index < 0) return std::nullopt;
            return KnownPath{index == 2};
        },
        [](std::string_view path) { return equalsIgnoreCase(path.substr(0, 7), "C:\\Bin\\"); });
    for (const FileChange& change : changes) {
        require(change.kind >= kindCreate && change.kind <= kindRecycle);
        require(withinWatch(change.path));
        const bool twoPaths = change.kind == kindRename || change.kind == kindRecycle;
        require(twoPaths == !change.otherPath.empty());
        if (twoPaths) require(withinWatch(change.otherPath));
        if (change.kind == kindDelete || change.kind == kindModify)
            require(withinWatch(change.earlierContentOf));
        else
            require(change.earlierContentOf.empty());
    }
    return 0;
}
