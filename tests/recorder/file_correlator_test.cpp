#include "recorder/file_correlator.h"

#include <gtest/gtest.h>

#include <set>

#include "base/text.h"
#include "database/action_record.h"

namespace {

const std::string d = "C:\\Docs\\";
const std::string bin = "Z:\\home\\Trash\\files\\";

FileNotice notice(NoticeAction action, const std::string& path, const std::string& newPath = "", bool folder = false) {
    return {action, path, newPath, folder};
}
FileNotice added(const std::string& name) { return notice(NoticeAction::Added, name); }
FileNotice modified(const std::string& name) { return notice(NoticeAction::Modified, name); }
FileNotice removed(const std::string& name) { return notice(NoticeAction::Removed, name); }
FileNotice renamed(const std::string& from, const std::string& to) { return notice(NoticeAction::Renamed, from, to); }

FileChange change(int32_t kind, const std::string& path, const std::string& other = "", const std::string& earlier = "",
                  bool folder = false) {
    FileChange c;
    c.kind = kind;
    c.path = path;
    c.otherPath = other;
    c.earlierContentOf = earlier;
    c.folder = folder;
    return c;
}

struct Case {
    const char* what;
    std::vector<FileNotice> notices;
    std::vector<FileChange> expected;
};

// Before every batch: a.txt, b.txt and the folder Old with x.txt in it.
std::vector<FileChange> correlate(const std::vector<FileNotice>& notices) {
    const std::set<std::string> files{d + "a.txt", d + "b.txt", d + "Old\\x.txt"};
    auto knownBefore = [&](std::string_view path) -> std::optional<KnownPath> {
        if (equalsIgnoreCase(path, d + "Old")) return KnownPath{true};
        for (const std::string& file : files)
            if (equalsIgnoreCase(file, path)) return KnownPath{false};
        return std::nullopt;
    };
    auto inBin = [](std::string_view path) { return path.starts_with(bin); };
    return correlateNotices(notices, knownBefore, inBin);
}

}  // namespace

TEST(FileCorrelator, EachBatchBecomesTheChangesAPersonMade) {
    const std::string a = d + "a.txt", b = d + "b.txt", t = d + "~a.tmp";
    const Case cases[] = {
        {"create", {added(d + "new.txt"), modified(d + "new.txt")}, {change(kindCreate, d + "new.txt")}},
        {"append or overwrite", {modified(a), modified(a)}, {change(kindModify, a, "", a)}},
        {"a write seen without its creation", {modified(d + "new.txt")}, {change(kindCreate, d + "new.txt")}},
        {"rename", {renamed(a, d + "c.txt")}, {change(kindRename, a, d + "c.txt")}},
        {"move", {renamed(a, d + "Sub\\a.txt")}, {change(kindRename, a, d + "Sub\\a.txt")}},
        {"rename, then write", {renamed(a, d + "c.txt"), modified(d + "c.txt")},
         {change(kindRename, a, d + "c.txt"), change(kindModify, d + "c.txt", "", a)}},
        {"delete", {removed(a)}, {change(kindDelete, a, "", a)}},
        {"rename, then delete", {renamed(a, d + "c.txt"), removed(d + "c.txt")},
         {change(kindRename, a, d + "c.txt"), change(kindDelete, d + "c.txt", "", a)}},
        {"recycle: gone here, arrived in the bin", {removed(a), added(bin + "a.txt")},
         {change(kindRecycle, a, bin + "a.txt")}},
        {"recycle under a name the bin made free", {removed(a), added(bin + "a (2).txt")},
         {change(kindRecycle, a, bin + "a (2).txt")}},
        {"recycle as a rename into the bin", {renamed(a, bin + "$R01.txt")}, {change(kindRecycle, a, bin + "$R01.txt")}},
        {"recycled and emptied at once", {removed(a), added(bin + "a.txt"), removed(bin + "a.txt")},
         {change(kindDelete, a, "", a)}},
        {"the bin emptied", {removed(bin + "old.txt")}, {change(kindDelete, bin + "old.txt", "", bin + "old.txt")}},
        {"taken back out of the bin", {renamed(bin + "z.txt", d + "z.txt")}, {change(kindCreate, d + "z.txt")}},
        {"safe save: old moved aside and deleted",
         {added(t), modified(t), renamed(a, d + "a.bak"), renamed(t, a), removed(d + "a.bak")},
         {change(kindModify, a, "", a)}},
        {"safe save: old deleted first", {added(t), modified(t), removed(a), renamed(t, a)},
         {change(kindModify, a, "", a)}},
        {"safe save: renamed over the old", {added(t), modified(t), renamed(t, a)}, {change(kindModify, a, "", a)}},
        {"safe save that keeps a backup", {added(t), renamed(a, d + "a.txt~"), renamed(t, a)},
         {change(kindModify, a, "", a), change(kindCreate, d + "a.txt~")}},
        {"a temporary file that comes and goes", {added(t), modified(t), removed(t)}, {}},
        {"one file renamed over another", {renamed(a, b)}, {change(kindDelete, b, "", b), change(kindRename, a, b)}},
        {"a folder made or removed", {notice(NoticeAction::Added, d + "New", "", true)}, {}},
        {"a folder renamed, then a file in it written",
         {renamed(d + "Old", d + "New"), modified(d + "New\\x.txt")},
         {change(kindRename, d + "Old", d + "New", "", true), change(kindModify, d + "New\\x.txt", "", d + "Old\\x.txt")}},
        {"case does not make another file", {modified(d + "A.TXT")}, {change(kindModify, d + "A.TXT", "", d + "a.txt")}},
    };
    for (const Case& c : cases) {
        std::vector<FileChange> got = correlate(c.notices);
        ASSERT_EQ(got.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].kind, c.expected[i].kind) << c.what << " #" << i;
            EXPECT_TRUE(equalsIgnoreCase(got[i].path, c.expected[i].path)) << c.what << ": " << got[i].path;
            EXPECT_EQ(got[i].otherPath, c.expected[i].otherPath) << c.what << " #" << i;
            EXPECT_TRUE(equalsIgnoreCase(got[i].earlierContentOf, c.expected[i].earlierContentOf))
                << c.what << ": " << got[i].earlierContentOf;
            EXPECT_EQ(got[i].folder, c.expected[i].folder) << c.what << " #" << i;
        }
    }
}
