// What the wizard's pages keep of the user's choices.

#include <gtest/gtest.h>

#include <numeric>

#include "browse/wizard_selection.h"

TEST(WizardSelection, AListLongerThanTheSlotsKeepsEveryEntryInOrderAndOneChosenRowReplacesIt) {
    // 400 sessions of five settings each: more records than slots.
    std::vector<ProgramSession> sessions(400);
    int32_t record = 0;
    for (ProgramSession& session : sessions)
        for (int k = 0; k < 5; ++k) session.settingActions.push_back(record++);
    std::vector<int32_t> order = settingsUndoOrder(sessions, 0);
    ASSERT_EQ(order.size(), 2000u);
    EXPECT_EQ(order.front(), 1999);  // the newest session's last setting first
    EXPECT_EQ(order.back(), 0);

    WizardSelection store;
    setSelectionList(store, order);
    EXPECT_EQ(store.count, 2000);
    EXPECT_EQ(selectionList(store), order);
    EXPECT_EQ(store.slots[999], order[999]);

    selectOnly(store, 7);
    EXPECT_EQ(selectionList(store), (std::vector<int32_t>{7}));
    EXPECT_TRUE(std::all_of(store.slots.begin() + 1, store.slots.end(), [](int32_t slot) { return slot == 0; }));
    selectOnly(store, std::nullopt);
    EXPECT_EQ(store.count, 0);
    EXPECT_TRUE(selectionList(store).empty());
}

TEST(WizardSelection, ASessionIsTakenOnlyForTheEntryAndTheListsItWasChosenFrom) {
    WizardSelection store;
    const uint32_t lists = 5;
    chooseEntry(store, 3);
    EXPECT_EQ(entryToList(store, WizardEntryKind::Program), 3);
    chooseSession(store, WizardEntryKind::Program, 1, lists);
    ASSERT_TRUE(sessionChoice(store, WizardEntryKind::Program, lists));
    EXPECT_EQ(sessionChoice(store, WizardEntryKind::Program, lists)->session, 1);

    // Back to the sessions: the count is 0, so nothing is listed, and Next
    // without a row keeps the session chosen before.
    EXPECT_EQ(entryToList(store, WizardEntryKind::Program), std::nullopt);
    chooseSession(store, WizardEntryKind::Program, std::nullopt, lists);
    ASSERT_TRUE(sessionChoice(store, WizardEntryKind::Program, lists));
    EXPECT_EQ(sessionChoice(store, WizardEntryKind::Program, lists)->entry, 3);

    // Lists built since, an applet's page, or another program's: not theirs.
    EXPECT_FALSE(sessionChoice(store, WizardEntryKind::Program, lists + 1));
    EXPECT_FALSE(sessionChoice(store, WizardEntryKind::Applet, lists));
    chooseEntry(store, 4);
    EXPECT_EQ(entryToList(store, WizardEntryKind::Program), 4);
    chooseSession(store, WizardEntryKind::Program, std::nullopt, lists);
    EXPECT_FALSE(sessionChoice(store, WizardEntryKind::Program, lists));
}

TEST(WizardSelection, ChoicesOutsideTodaysListsTakeNothing) {
    std::vector<ProgramEntry> programs{{"WRITER", {{{1}, {}}, {{2}, {}}}}};
    EXPECT_EQ(sessionsOf(programs, 0).size(), 2u);
    for (int32_t outside : {-1, 1, 1000}) EXPECT_TRUE(sessionsOf(programs, outside).empty());
    std::vector<AppletEntry> applets;
    EXPECT_TRUE(sessionsOf(applets, 0).empty());
    for (int32_t outside : {-1, 2}) EXPECT_TRUE(settingsUndoOrder(programs[0].sessions, outside).empty());

    ActionIndex points{{0, 5}, {0}, {}};
    WizardSelection store;
    chooseStartOverPoint(store, StartOverPoint::Hour, 2);
    EXPECT_FALSE(startOverChoice(store, points));
    chooseStartOverPoint(store, StartOverPoint::Boot, 0);
    EXPECT_FALSE(startOverChoice(store, points));
    chooseStartOverPoint(store, StartOverPoint::ProgramStart, std::nullopt);
    EXPECT_FALSE(startOverChoice(store, points));
}

TEST(WizardSelection, StartOverTakesTheMarkersFromTheNewestPointBackToTheChosenOne) {
    ActionIndex points{{0, 4, 9, 12, 20}, {0, 9}, {30}};
    WizardSelection store;
    setSelectionList(store, std::vector<int32_t>{1, 2});
    chooseStartOverPoint(store, StartOverPoint::Hour, 2);
    EXPECT_EQ(store.count, 2);  // a points page leaves the count
    EXPECT_EQ(std::count(store.slots.begin(), store.slots.end(), -1), int(wizardSlotCount) - 1);
    auto choice = startOverChoice(store, points);
    ASSERT_TRUE(choice);
    EXPECT_EQ(startOverRecords(points, *choice), (std::vector<int32_t>{20, 12, 9}));

    chooseStartOverPoint(store, StartOverPoint::ProgramStart, 0);
    choice = startOverChoice(store, points);
    ASSERT_TRUE(choice);
    EXPECT_EQ(startOverRecords(points, *choice), (std::vector<int32_t>{9, 0}));

    chooseFoundKind(store, kindCreate, true);
    EXPECT_EQ(store.slots[0], kindCreate);
    EXPECT_EQ(store.slots[1], 1);
    EXPECT_EQ(store.slots[2], 0);
}
