// The rows of the wizard's lists.

#include <gtest/gtest.h>

#include "browse/wizard_rows.h"
#include "tests/database/record_builder.h"

namespace {

std::vector<int32_t> valuesOf(const std::vector<ListRow>& rows) {
    std::vector<int32_t> values;
    for (const ListRow& row : rows) values.push_back(row.value);
    return values;
}

ActionRecord setting(ActionRecord record) {
    record.setIsSetting(1);
    return record;
}

// A word processor's two runs, Explorer deleting two files in one
// operation, a calculator that changed no setting, the display applet and
// a download; then a boot.
struct Morning {
    std::vector<ActionRecord> records{
        RecordBuilder("WRITER", 1, kindModify).paths("c:\\docs\\a.doc").at(9, 5),                 // 0
        setting(RecordBuilder("WRITER", 1, 10).paths("hkcu\\writer\\zoom").at(9, 6)),             // 1
        RecordBuilder("explorer", 88, kindDelete).paths("c:\\t\\x.doc").at(10, 0),                // 2
        RecordBuilder("explorer", 88, kindDelete).paths("c:\\t\\y.doc").at(10, 0),                // 3
        setting(RecordBuilder("WRITER", 2, 10).paths("hkcu\\writer\\zoom").at(11, 0)),            // 4
        RecordBuilder("WRITER", 2, kindCreate).paths("c:\\docs\\b.doc").at(11, 1),                // 5
        RecordBuilder("CALC", 3, kindCreate).paths("c:\\docs\\sum.doc").at(12, 40),               // 6
        setting(RecordBuilder("CPL", 4, 10).paths("hkcu\\desktop\\wallpaper").programPath(
            "c:\\windows\\desk.cpl").at(13, 0)),                                                   // 7
        RecordBuilder("WGET", 5, kindCreate).paths("c:\\dl\\x.zip").at(15, 59),                   // 8
        bootMarker(),                                                                              // 9
    };
    std::vector<ProgramEntry> programs{
        {"WRITER", {{{1}, {0}}, {{4}, {5}}}},
        {"CALC", {{{}, {6}}}},
        {"WGET", {{{}, {8}}}},
    };
    std::vector<AppletEntry> applets{{"c:\\windows\\desk.cpl", {{{7}, {}}}}};
    std::vector<FileActionGroup> groups{{{0}}, {{2, 3}}, {{5}}, {{6}}, {{8}}};
    ActionIndex points{{0, 2, 4, 6, 8}, {0, 4, 6, 8}, {9}};
};

}  // namespace

TEST(WizardRows, FileProgramAndAppletPagesListNewestFirst) {
    Morning m;
    auto files = fileActionRows(m.groups, m.records);
    EXPECT_EQ(valuesOf(files), (std::vector<int32_t>{8, 6, 5, 3, 2, 0}));
    EXPECT_EQ(files[3], (ListRow{{"c:\\t\\y.doc", "03/19/98", "10:00:00 AM"}, 3}));

    // A program stands by its first session's first setting, else its first file.
    EXPECT_EQ(programRows(m.programs, m.records, ProgramsListed::All),
              (std::vector<ListRow>{{{"WGET", "03/19/98", "03:59:00 PM"}, 2},
                                    {{"CALC", "03/19/98", "12:40:00 PM"}, 1},
                                    {{"WRITER", "03/19/98", "09:06:00 AM"}, 0}}));
    EXPECT_EQ(valuesOf(programRows(m.programs, m.records, ProgramsListed::WithSettings)), (std::vector<int32_t>{0}));
    EXPECT_EQ(appletRows(m.applets, m.records),
              (std::vector<ListRow>{{{"c:\\windows\\desk.cpl", "03/19/98", "01:00:00 PM"}, 0}}));

    EXPECT_EQ(valuesOf(sessionFileRows(m.programs[0].sessions, m.records)), (std::vector<int32_t>{5, 0}));
    EXPECT_EQ(valuesOf(recordRows(std::vector<int32_t>{5, -1, 10, 0}, m.records)), (std::vector<int32_t>{5, 0}));
}

TEST(WizardRows, SessionPagesListTheSessionsThatChangedSettingsAndNothingForAChoiceOutsideTheList) {
    Morning m;
    // The middle run only saved a document.
    std::vector<ProgramSession> sessions{{{1}, {0}}, {{}, {5}}, {{4}, {}}};
    EXPECT_EQ(settingSessionRows(sessions, m.records),
              (std::vector<ListRow>{{{"03/19/98", "11:00:00 AM"}, 2}, {{"03/19/98", "09:06:00 AM"}, 0}}));

    EXPECT_EQ(sessionsToUndoRows(sessions, 0, m.records),
              (std::vector<ListRow>{{{"03/19/98", "11:00:00 AM"}, 0}, {{"03/19/98", "09:06:00 AM"}, 0}}));
    EXPECT_EQ(sessionsToUndoRows(sessions, 1, m.records).size(), 1u);
    for (int32_t outside : {-1, 3, 1000}) EXPECT_TRUE(sessionsToUndoRows(sessions, outside, m.records).empty());
}

TEST(WizardRows, SessionPagesAreTitledByTheProgramOrAppletTheyList) {
    Morning m;
    EXPECT_EQ(programSessionsTitle(m.programs, 0, m.records), "Program WRITER sessions");
    EXPECT_EQ(programSessionsTitle(m.programs, 1, m.records), "Program CALC sessions");
    EXPECT_EQ(appletSessionsTitle(m.applets, 0), "Control Panel desk.cpl Select session");
    EXPECT_EQ(programSessionsTitle(m.programs, 3, m.records), "Program sessions");
    EXPECT_EQ(appletSessionsTitle(m.applets, -1), "Control Panel Select session");
}

TEST(WizardRows, StartOverPointsShowTheirHourProgramOrBootNewestFirst) {
    Morning m;
    auto hours = startOverPointRows(m.points, StartOverPoint::Hour, m.records);
    EXPECT_EQ(valuesOf(hours), (std::vector<int32_t>{4, 3, 2, 1, 0}));
    EXPECT_EQ(hours[0].cells, (std::vector<std::string>{"03/19/98", "03:00:00 PM"}));
    EXPECT_EQ(hours[1].cells, (std::vector<std::string>{"03/19/98", "12:00:00 PM"}));
    EXPECT_EQ(startOverPointRows(m.points, StartOverPoint::ProgramStart, m.records)[1],
              (ListRow{{"CALC", "03/19/98", "12:40:00 PM"}, 2}));
    EXPECT_EQ(valuesOf(startOverPointRows(m.points, StartOverPoint::Boot, m.records)), (std::vector<int32_t>{0}));

    // The third of five hours: the newest three, with no program.
    EXPECT_EQ(startOverRows(m.points, {StartOverPoint::Hour, 2}, m.records),
              (std::vector<ListRow>{{{"", "03/19/98", "03:00:00 PM"}, 0},
                                    {{"", "03/19/98", "12:00:00 PM"}, 0},
                                    {{"", "03/19/98", "11:00:00 AM"}, 0}}));
    EXPECT_EQ(startOverRows(m.points, {StartOverPoint::ProgramStart, 3}, m.records),
              (std::vector<ListRow>{{{"WGET", "03/19/98", "03:59:00 PM"}, 0}}));
}

TEST(WizardRows, FindListsLiveFileActionsOfTheKindWithDownloadsApart) {
    Morning m;
    m.records[8].setIsDownload(1);
    m.records.push_back(RecordBuilder("WRITER", 2, kindCreate).paths("c:\\docs\\gone.doc").undone());  // 10
    m.records.push_back(setting(RecordBuilder("WRITER", 2, kindCreate).paths("c:\\writer.ini")));      // 11
    EXPECT_EQ(foundFileRecords(m.records, kindCreate, 0), (std::vector<int32_t>{6, 5}));
    EXPECT_EQ(foundFileRecords(m.records, kindCreate, 1), (std::vector<int32_t>{8}));
    EXPECT_EQ(foundFileRecords(m.records, kindDelete, 0), (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(foundFileRows(std::vector<int32_t>{8}, m.records),
              (std::vector<ListRow>{{{"WGET", "c:\\dl\\x.zip"}, 8}}));
}
