// The rows of the Find sheet's tabs.

#include <gtest/gtest.h>

#include "browse/find_rows.h"
#include "tests/database/record_builder.h"

namespace {
ActionRecord flagged(ActionRecord record, void (ActionRecord::*setFlag)(int32_t)) {
    (record.*setFlag)(1);
    return record;
}
}  // namespace

TEST(FindRows, EachTabListsItsLiveKindNewestFirstAndDownloadsAlsoUnderCreate) {
    const std::vector<ActionRecord> records{
        /* 0 */ RecordBuilder("WRITER", 3, kindCreate).paths("c:\\docs\\a.doc"),
        /* 1 */ bootMarker(),
        /* 2 */ flagged(RecordBuilder("WGET", 4, kindCreate).paths("c:\\get\\x.zip"), &ActionRecord::setIsDownload),
        /* 3 */ RecordBuilder("WRITER", 3, kindModify).paths("c:\\docs\\a.doc"),
        /* 4 */ RecordBuilder("WRITER", 3, kindModify).paths("c:\\docs\\b.doc").undone(),
        /* 5 */ flagged(RecordBuilder("WRITER", 3, kindModify).paths("c:\\windows\\w.ini"), &ActionRecord::setIsSetting),
        /* 6 */ RecordBuilder("explorer", 88, kindRename).paths("c:\\docs\\a.doc", "c:\\docs\\c.doc"),
        /* 7 */ RecordBuilder("explorer", 88, kindCopy).paths("c:\\docs\\d.doc"),
        /* 8 */ RecordBuilder("explorer", 88, kindMove).paths("c:\\docs\\d.doc", "c:\\x\\d.doc"),
        /* 9 */ flagged(RecordBuilder("WGET", 4, kindCreate).paths("c:\\get\\y.zip").undone(), &ActionRecord::setIsDownload),
        /* 10 */ RecordBuilder("WRITER", 3, kindCreate).paths("c:\\docs\\e.doc"),
    };
    std::vector<ActionRecord> explorerSettings{
        flagged(flagged(RecordBuilder("explorer", 88, kindModify).paths("c:\\windows\\e.ini"), &ActionRecord::setIsExplorer),
                &ActionRecord::setIsIniFile),
        flagged(flagged(RecordBuilder("explorer", 88, kindModify).paths("c:\\docs\\s.cfg"), &ActionRecord::setIsExplorer),
                &ActionRecord::setIsSetting),
    };
    struct {
        FindTab tab;
        std::span<const ActionRecord> records;
        std::vector<int32_t> listed;
    } cases[] = {
        {FindTab::Create, records, {10, 2, 0}},
        {FindTab::Modify, records, {3}},
        {FindTab::Rename, records, {6}},
        {FindTab::Copy, records, {7}},
        {FindTab::Move, records, {8}},
        {FindTab::Download, records, {2}},
        // Explorer's own changes count as the user's, but never its INI files.
        {FindTab::Modify, explorerSettings, {1}},
    };
    for (const auto& c : cases) EXPECT_EQ(findTabRecords(c.records, c.tab), c.listed) << int(c.tab);
}

TEST(FindRows, ARowShowsThePathBeforeTheChangeWithItsDateAndTime) {
    ActionRecord rename = RecordBuilder("explorer", 88, kindRename).paths("c:\\docs\\old.doc", "c:\\docs\\new.doc").at(22, 48);
    EXPECT_EQ(findRow(rename, 6), (ListRow{{"c:\\docs\\old.doc", "03/19/98", "10:48:00 PM"}, 6}));
}

TEST(FindRows, OpeningARenameOrMoveGoesToTheNewPath) {
    const ActionRecord rename = RecordBuilder("explorer", 88, kindRename).paths("c:\\old.doc", "c:\\new.doc");
    const ActionRecord move = RecordBuilder("explorer", 88, kindMove).paths("c:\\a\\f.doc", "d:\\b\\f.doc");
    const ActionRecord modify = RecordBuilder("writer", 88, kindModify).paths("c:\\f.doc", "");
    EXPECT_EQ(pathNowOf(rename), "c:\\new.doc");
    EXPECT_EQ(pathNowOf(move), "d:\\b\\f.doc");
    EXPECT_EQ(pathNowOf(modify), "c:\\f.doc");
}
