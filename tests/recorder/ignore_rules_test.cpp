#include "recorder/ignore_rules.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "database/action_record.h"
#include "recorder/batch_timing.h"
#include "recorder/shadow_policy.h"

namespace {
FileChange change(int32_t kind, const std::string& path, const std::string& other = "") {
    FileChange c;
    c.kind = kind;
    c.path = path;
    c.otherPath = other;
    return c;
}
}  // namespace

TEST(IgnoreRules, TheSettingsGroupsPathsSizesAndTheRecycleBinLeaveChangesOut) {
    Settings settings;  // backups and temporary files ignored, 10 MB files at most
    settings.IgnoreNews = 1;
    setFieldText(settings.szIgnorePaths, "C:\\Docs\\Private|C:\\Docs\\log.txt");
    const IgnoreRules rules(settings, {"C:\\Undo Bin"}, {"Z:\\home\\.local\\share\\Trash\\files"});
    struct Case {
        FileChange change;
        uint64_t size;
        bool ignored;
    } cases[] = {
        {change(kindModify, "C:\\Docs\\letter.doc"), 100, false},
        {change(kindModify, "C:\\Docs\\letter.BAK"), 100, true},
        {change(kindCreate, "C:\\Docs\\x.tmp"), 100, true},
        {change(kindCreate, "C:\\Docs\\group.newsrc"), 100, true},
        {change(kindCreate, "C:\\Docs\\photo.jpg"), 100, false},  // graphics are not ignored by default
        {change(kindModify, "C:\\Docs\\private\\plan.doc"), 100, true},
        {change(kindModify, "C:\\Docs\\Private2\\plan.doc"), 100, false},
        {change(kindModify, "C:\\Docs\\LOG.TXT"), 100, true},
        {change(kindModify, "C:\\Docs\\movie.doc"), 10000001, true},
        {change(kindRename, "C:\\Docs\\a.doc", "C:\\Docs\\a.bak"), 100, false},
        {change(kindRename, "C:\\Docs\\a.tmp", "C:\\Docs\\a.bak"), 100, true},
        {change(kindDelete, "Z:\\home\\.local\\share\\Trash\\files\\a.doc"), 100, false},
    };
    for (const Case& c : cases) EXPECT_EQ(rules.ignores(c.change, c.size), c.ignored) << c.change.path;

    settings.IgnoreRecycleBin = 1;
    EXPECT_TRUE(IgnoreRules(settings, {}, {"Z:\\home\\.local\\share\\Trash\\files"})
                    .ignores(change(kindDelete, "Z:\\home\\.local\\share\\Trash\\files\\a.doc"), 100));
}

TEST(IgnoreRules, TheRecordersOwnPlacesAndDotFoldersAreNeverLookedAt) {
    const IgnoreRules rules(Settings{}, {"C:\\Undo Bin", "C:\\Users\\me\\AppData\\Local\\Retrace"},
                            {"Z:\\home\\.local\\share\\Trash\\files"});
    EXPECT_TRUE(rules.excluded("C:\\undo bin\\00000001.sav"));
    EXPECT_TRUE(rules.excluded("C:\\Undo Bin"));
    EXPECT_FALSE(rules.excluded("C:\\Undo Binder\\a.doc"));
    EXPECT_TRUE(rules.excluded("C:\\Users\\me\\Desktop\\.git\\index"));
    EXPECT_FALSE(rules.excluded("C:\\Users\\me\\Desktop\\.profile"));
    EXPECT_FALSE(rules.excluded("Z:\\home\\.local\\share\\Trash\\files\\a.doc"));
    EXPECT_TRUE(rules.inRecycleBin("Z:\\home\\.local\\share\\Trash\\files\\a.doc"));
    EXPECT_FALSE(rules.inRecycleBin("Z:\\home\\.local\\share\\Trash\\files"));
}

TEST(ShadowPolicy, SettingsFilesAndDocumentsEachStayWithinTheirShareOfTheBin) {
    EXPECT_EQ(shadowClassOf("C:\\Windows\\win.ini", largestShadowedSettingsFile), ShadowClass::Settings);
    EXPECT_EQ(shadowClassOf("C:\\Windows\\big.ini", largestShadowedSettingsFile + 1), ShadowClass::None);
    EXPECT_EQ(shadowClassOf("C:\\Docs\\letter.doc", largestShadowedDocument), ShadowClass::Document);
    EXPECT_EQ(shadowClassOf("C:\\Docs\\movie.avi", largestShadowedDocument + 1), ShadowClass::None);

    ShadowBudget budget(1000);  // 50 bytes of settings, 100 of documents
    EXPECT_TRUE(budget.take(ShadowClass::Settings, 50));
    EXPECT_FALSE(budget.take(ShadowClass::Settings, 1));
    EXPECT_TRUE(budget.take(ShadowClass::Document, 100));
    budget.give(ShadowClass::Settings, 20);
    EXPECT_TRUE(budget.take(ShadowClass::Settings, 20));
    EXPECT_FALSE(budget.take(ShadowClass::None, 0));
}

TEST(BatchTiming, ABatchClosesAfterAQuietSpellOrWhenItsFirstChangeWouldBeLate) {
    EXPECT_EQ(batchWaitLeft(1000, 1000, 1000), batchQuietMilliseconds);
    EXPECT_EQ(batchWaitLeft(1100, 1000, 1000), 0u);
    EXPECT_EQ(batchWaitLeft(1450, 1000, 1440), batchLongestMilliseconds - 450);
    EXPECT_EQ(batchWaitLeft(1600, 1000, 1590), 0u);
}
