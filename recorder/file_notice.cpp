#include "recorder/file_notice.h"

namespace {

enum : uint32_t { added = 1, removed = 2, modified = 3, renamedOld = 4, renamedNew = 5 };

std::string joined(std::string_view root, std::string_view name) {
    std::string path(root);
    if (!path.ends_with('\\')) path += '\\';
    path += name;
    return path;
}

}  // namespace

std::vector<FileNotice> noticesOf(std::string_view root, std::span<const RawNotice> records) {
    std::vector<FileNotice> notices;
    for (size_t i = 0; i < records.size(); ++i) {
        const RawNotice& record = records[i];
        std::string path = joined(root, record.name);
        switch (record.action) {
        case added: notices.push_back({NoticeAction::Added, path, "", false}); break;
        case removed: notices.push_back({NoticeAction::Removed, path, "", false}); break;
        case modified: notices.push_back({NoticeAction::Modified, path, "", false}); break;
        case renamedOld:
            if (i + 1 < records.size() && records[i + 1].action == renamedNew) {
                notices.push_back({NoticeAction::Renamed, path, joined(root, records[++i].name), false});
            } else {
                notices.push_back({NoticeAction::Removed, path, "", false});
            }
            break;
        case renamedNew: notices.push_back({NoticeAction::Added, path, "", false}); break;
        }
    }
    return notices;
}

std::vector<FileNotice> withoutExcluded(std::vector<FileNotice> notices,
                                        const std::function<bool(std::string_view)>& excluded) {
    std::vector<FileNotice> kept;
    for (FileNotice& notice : notices) {
        if (notice.action == NoticeAction::Renamed) {
            bool oldHidden = excluded(notice.path), newHidden = excluded(notice.newPath);
            if (oldHidden && newHidden) continue;
            if (newHidden) {
                notice.action = NoticeAction::Removed;
                notice.newPath.clear();
            } else if (oldHidden) {
                notice.action = NoticeAction::Added;
                notice.path = std::move(notice.newPath);
                notice.newPath.clear();
            }
        } else if (excluded(notice.path)) {
            continue;
        }
        kept.push_back(std::move(notice));
    }
    return kept;
}
