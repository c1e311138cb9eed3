#include "recorder/file_correlator.h"

#include <algorithm>
#include <unordered_map>

#include "base/ignore_case_hash.h"
#include "base/paths.h"
#include "monitor/action_kind.h"

namespace {

constexpr size_t none = size_t(-1);

bool isUnder(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           equalsIgnoreCase(path.substr(0, folder.size()), folder);
}

std::string reparented(std::string_view path, std::string_view from, std::string_view to) {
    return std::string(to) + std::string(path.substr(from.size()));
}

// One file as the batch follows it through renames, by where it is now.
struct Identity {
    std::string earlierKey;  // its path before the batch; "" for a file the batch made
    std::string startPath;   // where it was when the batch began, folder renames applied
    std::string path;        // where it is now; "" once gone
    size_t lastSeq = 0;      // the last notice that concerned it
    bool modified = false;
    size_t replacedBy = none;  // gone under a rename of that identity over it
    std::string gonePath;      // where it was when it went
    std::string trashPath;     // where it went, when into the Recycle Bin
    bool consumed = false;  // taken up into another identity's change
};

struct Arrival {
    std::string trashPath;
    std::string origin;
    bool taken = false;
};

FileChange change(int32_t kind, const std::string& path, const std::string& otherPath = {},
                  const std::string& earlier = {}, bool folder = false) {
    FileChange result;
    result.kind = kind;
    result.path = path;
    result.otherPath = otherPath;
    result.earlierContentOf = earlier;
    result.folder = folder;
    return result;
}
FileChange created(const std::string& path) { return change(kindCreate, path); }
FileChange deleted(const std::string& path, const std::string& earlier) {
    return change(kindDelete, path, {}, earlier);
}
FileChange modified(const std::string& path, const std::string& earlier) {
    return change(kindModify, path, {}, earlier);
}
FileChange renamed(const std::string& from, const std::string& to, bool folder = false) {
    return change(kindRename, from, to, {}, folder);
}
FileChange recycled(const std::string& path, const std::string& binPath) {
    return change(kindRecycle, path, binPath);
}

// A change and where it falls among the batch's notices.
struct Placed {
    size_t seq;
    int order;  // within one notice: what undoing must reach last comes first
    FileChange change;
};

class Batch {
public:
    Batch(const KnownBefore& knownBefore, const InRecycleBin& inRecycleBin)
        : knownBefore_(knownBefore), inRecycleBin_(inRecycleBin) {}

    void take(const FileNotice& notice, size_t seq) {
        if (notice.action == NoticeAction::Renamed) {
            rename(notice, seq);
            return;
        }
        if (inRecycleBin_(notice.path)) {
            if (notice.action == NoticeAction::Added)
                arrivals_.push_back({notice.path, {}, false});
            else if (notice.action == NoticeAction::Removed)
                removeFromBin(notice.path, seq);
            return;
        }
        if (notice.folder) return;
        switch (notice.action) {
        case NoticeAction::Added:
        case NoticeAction::Modified: touch(notice.path, seq); break;
        case NoticeAction::Removed: remove(notice.path, seq); break;
        case NoticeAction::Renamed: break;
        }
    }

    std::vector<FileChange> changes() {
        matchArrivals();
        for (size_t i = 0; i < ids_.size(); ++i)
            if (!ids_[i].earlierKey.empty()) settleOriginal(i);
        for (const Identity& id : ids_)
            if (id.earlierKey.empty() && !id.consumed && !id.path.empty())
                place(id.lastSeq, 1, created(id.path));
        std::stable_sort(placed_.begin(), placed_.end(), [](const Placed& a, const Placed& b) {
            return a.seq != b.seq ? a.seq < b.seq : a.order < b.order;
        });
        std::vector<FileChange> result;
        for (Placed& p : placed_) result.push_back(std::move(p.change));
        return result;
    }

private:
    const KnownBefore& knownBefore_;
    const InRecycleBin& inRecycleBin_;
    std::vector<Identity> ids_;
    std::unordered_map<std::string, size_t, IgnoreCaseHash, IgnoreCaseEqual> occupant_;  // none: empty now
    std::vector<std::pair<std::string, std::string>> folderRenames_;                     // from, to
    std::vector<Arrival> arrivals_;
    std::vector<Placed> placed_;

    void place(size_t seq, int order, FileChange change) { placed_.push_back({seq, order, std::move(change)}); }

    // Where the path was before the batch, undoing the batch's folder renames.
    std::string beforeBatch(std::string path) const {
        for (auto rename = folderRenames_.rbegin(); rename != folderRenames_.rend(); ++rename)
            if (isUnder(path, rename->second)) path = reparented(path, rename->second, rename->first);
        return path;
    }

    // The identity at the path now, or none. A path the batch has not yet
    // touched holds what was there before the batch.
    size_t at(const std::string& path) {
        if (auto found = occupant_.find(path); found != occupant_.end()) return found->second;
        size_t id = none;
        std::string earlier = beforeBatch(path);
        if (auto known = knownBefore_(earlier); known && !known->folder) {
            id = ids_.size();
            Identity& original = ids_.emplace_back();
            original.earlierKey = earlier;
            original.startPath = original.path = path;
        }
        occupant_[path] = id;
        return id;
    }

    size_t newIdentity(const std::string& path, size_t seq) {
        size_t id = ids_.size();
        Identity& made = ids_.emplace_back();
        made.startPath = made.path = path;
        made.lastSeq = seq;
        occupant_[path] = id;
        return id;
    }

    void touch(const std::string& path, size_t seq) {
        size_t id = at(path);
        if (id == none) {
            newIdentity(path, seq);
            return;
        }
        ids_[id].modified = true;
        ids_[id].lastSeq = seq;
    }

    void remove(const std::string& path, size_t seq) {
        size_t id = at(path);
        if (id == none) return;
        ids_[id].path.clear();
        ids_[id].lastSeq = seq;
        ids_[id].gonePath = path;
        occupant_[path] = none;
    }

    void rename(const FileNotice& notice, size_t seq) {
        const bool fromBin = inRecycleBin_(notice.path), intoBin = inRecycleBin_(notice.newPath);
        if (fromBin) {
            if (!intoBin) touch(notice.newPath, seq);
            return;
        }
        if (intoBin) {
            remove(notice.path, seq);
            arrivals_.push_back({notice.newPath, notice.path, false});
            return;
        }
        auto known = knownBefore_(beforeBatch(notice.path));
        if (notice.folder || (known && known->folder)) {
            renameFolder(notice.path, notice.newPath, seq);
            return;
        }
        size_t id = at(notice.path);
        if (id == none) {
            touch(notice.newPath, seq);
            return;
        }
        size_t over = at(notice.newPath);
        if (over != none && over != id) {
            ids_[over].path.clear();
            ids_[over].replacedBy = id;
            ids_[over].lastSeq = seq;
        }
        occupant_[notice.path] = none;
        occupant_[notice.newPath] = id;
        ids_[id].path = notice.newPath;
        ids_[id].lastSeq = seq;
    }

    // Everything the batch knows under the folder moves with it; the
    // folder's Rename stands for all of them, so their start paths move too.
    void renameFolder(const std::string& from, const std::string& to, size_t seq) {
        std::vector<std::pair<std::string, size_t>> moved;
        for (auto it = occupant_.begin(); it != occupant_.end();) {
            if (isUnder(it->first, from)) {
                moved.emplace_back(reparented(it->first, from, to), it->second);
                it = occupant_.erase(it);
            } else {
                ++it;
            }
        }
        for (auto& [path, id] : moved) occupant_[path] = id;
        for (Identity& id : ids_) {
            if (isUnder(id.path, from)) id.path = reparented(id.path, from, to);
            if (isUnder(id.startPath, from)) id.startPath = reparented(id.startPath, from, to);
        }
        folderRenames_.emplace_back(from, to);
        place(seq, 0, renamed(from, to, true));
    }

    void removeFromBin(const std::string& trashPath, size_t seq) {
        for (Arrival& arrival : arrivals_)
            if (!arrival.taken && equalsIgnoreCase(arrival.trashPath, trashPath)) {
                arrival.taken = true;  // recycled and emptied within the batch: a plain delete
                return;
            }
        place(seq, 1, deleted(trashPath, trashPath));
    }

    // Files gone this batch that arrived in the Recycle Bin: by the path a
    // rename into the bin came from, else by name, as the bin keeps the name
    // and adds to it only when the name is taken.
    void matchArrivals() {
        for (Identity& id : ids_) {
            if (!id.path.empty() || id.replacedBy != none) continue;
            const std::string& gonePath = id.gonePath;
            auto matches = [&](const Arrival& arrival, bool byName) {
                if (arrival.taken) return false;
                if (!byName) return equalsIgnoreCase(arrival.origin, gonePath);
                std::string_view name = fileNameOf(gonePath), binName = fileNameOf(arrival.trashPath);
                std::string_view stem = splitExtension(name).stem;
                return equalsIgnoreCase(binName, name) ||
                       (binName.size() > stem.size() && equalsIgnoreCase(binName.substr(0, stem.size()), stem));
            };
            for (bool byName : {false, true}) {
                auto found = std::find_if(arrivals_.begin(), arrivals_.end(),
                                          [&](const Arrival& a) { return matches(a, byName); });
                if (found == arrivals_.end()) continue;
                found->taken = true;
                id.trashPath = found->trashPath;
                break;
            }
        }
    }

    // The identity that holds the path at the end of the batch, if it is
    // one the batch made.
    Identity* newcomerAt(const std::string& path) {
        auto found = occupant_.find(path);
        if (found == occupant_.end() || found->second == none) return nullptr;
        Identity& id = ids_[found->second];
        return id.earlierKey.empty() && !id.consumed ? &id : nullptr;
    }

    void settleOriginal(size_t index) {
        Identity& id = ids_[index];
        const std::string& start = id.startPath;
        if (id.path.empty()) {
            if (Identity* newcomer = newcomerAt(start)) {  // a safe save: written anew under the same name
                newcomer->consumed = true;
                place(std::max(id.lastSeq, newcomer->lastSeq), 1, modified(start, id.earlierKey));
                return;
            }
            if (id.replacedBy != none) {  // another file renamed over it
                place(ids_[id.replacedBy].lastSeq, -1, deleted(start, id.earlierKey));
                return;
            }
            if (!equalsIgnoreCase(id.gonePath, start)) place(id.lastSeq, 0, renamed(start, id.gonePath));
            if (!id.trashPath.empty())
                place(id.lastSeq, 1, recycled(id.gonePath, id.trashPath));
            else
                place(id.lastSeq, 1, deleted(id.gonePath, id.earlierKey));
            return;
        }
        if (equalsIgnoreCase(id.path, start)) {
            if (id.modified) place(id.lastSeq, 1, modified(start, id.earlierKey));
            return;
        }
        if (Identity* newcomer = newcomerAt(start)) {  // a safe save that kept the old file as a backup
            newcomer->consumed = true;
            place(std::max(id.lastSeq, newcomer->lastSeq), 1, modified(start, id.earlierKey));
            place(std::max(id.lastSeq, newcomer->lastSeq), 2, created(id.path));
            return;
        }
        place(id.lastSeq, 0, renamed(start, id.path));
        if (id.modified) place(id.lastSeq, 1, modified(id.path, id.earlierKey));
    }
};

}  // namespace

std::vector<FileChange> correlateNotices(std::span<const FileNotice> notices, const KnownBefore& knownBefore,
                                         const InRecycleBin& inRecycleBin) {
    Batch batch(knownBefore, inRecycleBin);
    for (size_t seq = 0; seq < notices.size(); ++seq) batch.take(notices[seq], seq + 1);
    return batch.changes();
}
