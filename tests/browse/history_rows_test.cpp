// The rows of the history dialogs.

#include <gtest/gtest.h>

#include "browse/history_rows.h"
#include "tests/database/record_builder.h"

TEST(HistoryRows, EveryCollectionIsListedNewestFirstWithTheEntryIndexAsValue) {
    std::vector<ProgramEntry> programs{{"NOTEPAD", {{{0}, {1, 2}}, {{3}, {4, 5, 6, 7, 8}}}}, {"calc", {{{9}, {}}}}};
    EXPECT_EQ(programHistoryRows(programs),
              (std::vector<ListRow>{{{"Calc", "0", "1"}, 1}, {{"Notepad", "7", "2"}, 0}}));

    std::vector<AppletEntry> applets{{"c:\\windows\\system\\desk.cpl", {{}, {}}}};
    EXPECT_EQ(appletHistoryRows(applets), (std::vector<ListRow>{{{"c:\\windows\\system\\desk.cpl", "2"}, 0}}));

    std::vector<ActionRecord> records{
        RecordBuilder("explorer", 88, kindDelete).paths("c:\\temp\\a.doc").at(22, 48, 1998),
        RecordBuilder("explorer", 88, kindDelete).paths("c:\\temp\\b.doc").at(22, 48, 1998),
        RecordBuilder("explorer", 88, kindDelete).paths("c:\\temp\\c.doc").at(22, 48, 1998),
        RecordBuilder("WRITER", 3, kindModify).paths("c:\\docs\\report.doc").at(12, 0, 2026),
    };
    // Three files of 4 GB less one byte each: the total does not wrap.
    for (int i = 0; i < 3; ++i) records[size_t(i)].sizeA = -1;
    records[3].sizeA = 7;
    std::vector<FileActionGroup> groups{{{0, 1, 2}}, {{3}}};
    auto isFolder = [](const std::string& path) { return path == "c:\\docs"; };
    EXPECT_EQ(fileHistoryRows(groups, records, isFolder),
              (std::vector<ListRow>{
                  {{"c:\\docs\\report.doc", "Modify", "WRITER", "1", "7", "03/19/26", "12:00:00 PM"}, 1},
                  {{"c:\\temp", "Delete", "explorer", "3", "12884901885", "03/19/98", "10:48:00 PM"}, 0},
              }));
}
