#include "recorder/file_notice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "recorder/file_catalog.h"

namespace {
std::string describe(const std::vector<FileNotice>& notices) {
    const char* names[] = {"added", "removed", "modified", "renamed"};
    std::string text;
    for (const FileNotice& n : notices)
        text += std::string(names[int(n.action)]) + " " + n.path + (n.newPath.empty() ? "" : " " + n.newPath) + ";";
    return text;
}
}  // namespace

TEST(FileNotices, RenameHalvesPairAndLoneHalvesStandForWhatCrossedTheWatchsEdge) {
    const RawNotice records[] = {{1, "a"}, {3, "a"}, {4, "a"}, {5, "Sub\\b"}, {4, "gone"}, {2, "c"},
                                 {5, "arrived"}, {9, "unknown"}};
    EXPECT_EQ(describe(noticesOf("C:\\D", records)),
              "added C:\\D\\a;modified C:\\D\\a;renamed C:\\D\\a C:\\D\\Sub\\b;removed C:\\D\\gone;"
              "removed C:\\D\\c;added C:\\D\\arrived;");
}

TEST(FileNotices, ARenameOutOfViewIsARemovalAndOneIntoViewAnAddition) {
    const RawNotice records[] = {{4, "a"}, {5, ".hidden\\a"}, {4, ".hidden\\b"}, {5, "b"},
                                 {4, ".hidden\\c"}, {5, ".hidden\\d"}, {3, ".hidden\\e"}};
    auto hidden = [](std::string_view path) { return path.find("\\.hidden") != std::string_view::npos; };
    EXPECT_EQ(describe(withoutExcluded(noticesOf("C:\\D", records), hidden)), "removed C:\\D\\a;added C:\\D\\b;");
}

TEST(FileCatalog, ARescanFindsWhatTheWatchMissedWithinItsScope) {
    FileCatalog catalog;
    catalog.set("C:\\D\\same", {1, 10, false});
    catalog.set("C:\\D\\grown", {1, 10, false});
    catalog.set("C:\\D\\gone", {1, 10, false});
    catalog.set("C:\\D\\Sub", {0, 0, true});
    catalog.set("C:\\D\\Sub\\deep", {1, 10, false});
    catalog.set("C:\\Dx\\elsewhere", {1, 10, false});
    const TreeListing listing{{"C:\\D\\same", {1, 10, false}}, {"C:\\D\\grown", {2, 11, false}},
                                {"C:\\D\\new", {1, 12, false}}, {"C:\\D\\Sub", {0, 0, true}}};
    EXPECT_EQ(describe(catalog.differencesFrom("C:\\D", false, listing)),
              "modified C:\\D\\grown;added C:\\D\\new;removed C:\\D\\gone;");
    EXPECT_EQ(describe(catalog.differencesFrom("C:\\D", true, listing)),
              "modified C:\\D\\grown;added C:\\D\\new;removed C:\\D\\gone;removed C:\\D\\Sub\\deep;");

    catalog.moveFolder("C:\\D\\Sub", "C:\\D\\Moved");
    EXPECT_NE(catalog.find("C:\\D\\moved\\DEEP"), nullptr);
    catalog.erase("C:\\D");
    EXPECT_EQ(catalog.size(), 1u);
}

// The catalog kept at exit and taken back at the next start; a file that is
// gone and one that appeared with its identity were one file, moved.
TEST(FileCatalog, AKeptCatalogTellsFilesMovedWhileTheRecorderWasAwayByTheirIdentity) {
    FileCatalog catalog;
    catalog.set("C:\\D\\moved", {1, 10, false});
    catalog.set("C:\\D\\deleted", {1, 10, false});
    catalog.set("C:\\D\\Sub", {0, 0, true});
    const std::map<std::string, uint64_t> identities{{"C:\\D\\moved", 7}, {"C:\\D\\deleted", 8}, {"C:\\D\\Sub\\there", 7},
                                                     {"C:\\D\\made", 9}};
    auto identityOf = [&](const std::string& path) {
        auto found = identities.find(path);
        return found == identities.end() ? 0 : found->second;
    };
    catalog.takeIdentities(identityOf);
    FileCatalog next;
    ASSERT_TRUE(next.restore(catalog.saved()));
    EXPECT_EQ(next.find("C:\\D\\moved")->identity, 7u);
    EXPECT_EQ(*next.find("C:\\D\\Sub"), (CatalogEntry{0, 0, true}));

    // "made" took the deleted file's number, as Unix file systems do, but is another file.
    const TreeListing listing{{"C:\\D\\Sub", {0, 0, true}}, {"C:\\D\\Sub\\there", {1, 10, false}},
                              {"C:\\D\\made", {1, 12, false}}};
    auto onDisk = [&](const std::string& path) {
        CatalogEntry entry = std::find_if(listing.begin(), listing.end(), [&](auto& e) { return e.first == path; })->second;
        entry.identity = path == "C:\\D\\made" ? 8 : identityOf(path);
        return entry;
    };
    EXPECT_EQ(describe(next.withMovesPaired(next.differencesFrom("C:\\D", true, listing), onDisk)),
              "renamed C:\\D\\moved C:\\D\\Sub\\there;added C:\\D\\made;removed C:\\D\\deleted;");

    const std::string kept = catalog.saved();
    EXPECT_FALSE(next.restore(kept.substr(0, kept.size() - 1)));
    EXPECT_EQ(next.size(), 0u);
}
