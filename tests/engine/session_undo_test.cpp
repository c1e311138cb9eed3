// What an undo of sessions takes, in what order, and what its dialogs list.

#include <gtest/gtest.h>

#include "engine/confirmation_rows.h"
#include "engine/session_undo.h"
#include "tests/database/record_builder.h"

namespace {

// Three runs of one program: records 0-2, 3-4 and 5-7. Record 3 is a
// registry change, the others files.
std::vector<ActionRecord> history() {
    std::vector<ActionRecord> records;
    auto add = [&](int32_t kind, const char* path, int minute, int32_t size = 0) {
        ActionRecord record = RecordBuilder("WRITER", 1, kind).paths(path).at(9, minute, 2026, 12, 7);
        record.sizeA = size;
        if (kind >= kindRegistryFirst) record.dataC = path;
        records.push_back(record);
    };
    add(kindModify, "c:\\w.ini", 0, 10);
    add(kindCreate, "c:\\a.doc", 2, 3);
    add(kindModify, "c:\\a.doc", 4, -1);  // sizes print as unsigned 32-bit numbers
    add(kindRegistryFirst, "HKCU\\Software\\W\\", 6);
    add(kindCreate, "c:\\b.doc", 8);
    add(kindModify, "c:\\w.ini", 10);
    add(kindDelete, "c:\\c.doc", 12);
    add(kindModify, "c:\\x.ini", 14);
    return records;
}

const ProgramEntry writer{"WRITER", {{{0}, {1, 2}}, {{3}, {4}}, {{5, 7}, {6}}}};

}  // namespace

TEST(SessionUndo, TakesTheChosenSessionAndEveryNewerOneNewestFirst) {
    struct {
        size_t oldestChosen;
        SessionPart part;
        std::vector<int32_t> expected;
    } cases[] = {
        {2, SessionPart::SettingsOnly, {7, 5}},
        {1, SessionPart::SettingsOnly, {7, 5, 3}},
        {0, SessionPart::SettingsAndFiles, {7, 5, 6, 3, 4, 0, 2, 1}},
        {3, SessionPart::SettingsAndFiles, {}},  // no session has that place
    };
    for (const auto& c : cases)
        EXPECT_EQ(programSessionsUndoOrder(writer.sessions, c.oldestChosen, c.part), c.expected) << c.oldestChosen;
    // Control Panel sessions give their files back before their settings.
    EXPECT_EQ(appletSessionsUndoOrder(writer.sessions, 1), (std::vector<int32_t>{6, 7, 5, 4, 3}));
}

TEST(SessionUndo, ARowFindsItsSessionByItsFirstRecordWhereverTheListPutsIt) {
    const std::vector<ProgramSession> sessions{{{}, {4, 6}}, {{5}, {7}}, {{}, {}}};
    EXPECT_EQ(sessionFirstAction(sessions[0]), 4);  // a run without settings stands by its first file
    EXPECT_EQ(sessionFirstAction(sessions[1]), 5);
    EXPECT_EQ(sessionFirstAction(sessions[2]), -1);
    EXPECT_EQ(sessionStartingWith(sessions, 5), 1u);
    EXPECT_EQ(sessionStartingWith(sessions, 4), 0u);
    EXPECT_EQ(sessionStartingWith(sessions, 7), std::nullopt);  // in a session, but not its first
    EXPECT_EQ(sessionStartingWith(sessions, -1), std::nullopt);  // no row picked
}

TEST(ConfirmationRows, ListTheProgramsFilesAndSessionsNewestFirst) {
    auto records = history();
    EXPECT_EQ(programFileRows(writer, records),
              (std::vector<ListRow>{
                  {{"c:\\c.doc", "Delete", "0", "12/07/26", "09:12:00 AM", "01"}, 6},
                  {{"c:\\b.doc", "Create", "0", "12/07/26", "09:08:00 AM", "02"}, 4},
                  {{"c:\\a.doc", "Modify", "4294967295", "12/07/26", "09:04:00 AM", "03"}, 2},
                  {{"c:\\a.doc", "Create", "3", "12/07/26", "09:02:00 AM", "03"}, 1},
              }));
    EXPECT_EQ(programSessionRows(writer, records),
              (std::vector<ListRow>{{{"Session 01", "12/07/26", "09:10:00 AM"}, 5},
                                    {{"Session 02", "12/07/26", "09:06:00 AM"}, 3},
                                    {{"Session 03", "12/07/26", "09:00:00 AM"}, 0}}));
}

TEST(ConfirmationRows, ASessionConfirmationListsFilesBeforeSettingsAndRegistryChangesByTheirKey) {
    auto records = history();
    EXPECT_EQ(sessionConfirmationRows(writer.sessions, 1, SessionPart::SettingsAndFiles, records),
              (std::vector<ListRow>{
                  {{"01", "c:\\c.doc", "0", "File", "12/07/26", "09:12:00 AM"}, 0},
                  {{"01", "c:\\x.ini", "0", "Setting", "12/07/26", "09:14:00 AM"}, 1},
                  {{"01", "c:\\w.ini", "0", "Setting", "12/07/26", "09:10:00 AM"}, 2},
                  {{"02", "c:\\b.doc", "0", "File", "12/07/26", "09:08:00 AM"}, 3},
                  {{"02", "HKCU\\Software\\W\\", "", "Setting", "12/07/26", "09:06:00 AM"}, 4},
              }));
    auto settingsOnly = sessionConfirmationRows(writer.sessions, 0, SessionPart::SettingsOnly, records);
    ASSERT_EQ(settingsOnly.size(), 4u);
    EXPECT_EQ(settingsOnly.back().cells[0], "03");
    EXPECT_EQ(settingsOnly.back().cells[1], "c:\\w.ini");
}

TEST(ConfirmationRows, AFileActionListsItsFilesLastFirstAndAnAppletItsSessionsByTheirFirstFile) {
    auto records = history();
    EXPECT_EQ(fileGroupRows({{1, 4, 6}}, records),
              (std::vector<ListRow>{{{"c:\\c.doc", "0", "12/07/26", "09:12:00 AM"}, 6},
                                    {{"c:\\b.doc", "0", "12/07/26", "09:08:00 AM"}, 4},
                                    {{"c:\\a.doc", "3", "12/07/26", "09:02:00 AM"}, 1}}));
    const AppletEntry display{"c:\\windows\\system\\desk.cpl", {{{0}, {2}}, {{3}, {}}}};
    EXPECT_EQ(appletSessionRows(display, records),
              (std::vector<ListRow>{{{"12/07/26", "09:06:00 AM"}, 1}, {{"12/07/26", "09:04:00 AM"}, 0}}));
}
