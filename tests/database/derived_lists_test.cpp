#include <gtest/gtest.h>

#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "record_builder.h"

namespace {
using Indices = std::vector<int32_t>;

std::vector<ActionRecord> derived(std::vector<ActionRecord> records) {
    deriveFlags(records, DerivedFlagInputs{{"DOC", "TXT"}, ""});
    return records;
}

std::vector<Indices> groupsOf(const std::vector<ActionRecord>& records) {
    std::vector<Indices> groups;
    for (const FileActionGroup& group : makeFileActionList(records)) groups.push_back(group.actions);
    return groups;
}

RecordBuilder byExplorer(int32_t kind, std::string a, std::string b = {}) {
    return RecordBuilder("Explorer", 40, kind).paths(std::move(a), std::move(b));
}

RecordBuilder byNotepad(int32_t processId, int32_t kind, std::string path) {
    return RecordBuilder("notepad", processId, kind).paths(std::move(path));
}

ProgramSession session(Indices settings, Indices files) { return {std::move(settings), std::move(files)}; }
}  // namespace

TEST(ProgramList, GivesTwoRunsOfOneProgramOneEntryWithTwoSessionsEarlierFirst) {
    auto records = derived({
        byNotepad(1, kindModify, "c:\\windows\\win.ini"),
        byNotepad(2, kindModify, "c:\\docs\\a.txt"),
        byNotepad(1, kindCreate, "c:\\docs\\b.txt"),
        RecordBuilder("regedit", 3, 10),
        byNotepad(2, kindModify, "c:\\windows\\system.ini"),
    });
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0].programName, "regedit");
    EXPECT_STREQ(list[1].programName, "notepad");  // changed something last
    EXPECT_EQ(list[1].sessions, (std::vector{session({0}, {2}), session({4}, {1})}));
}

TEST(ProgramList, JoinsNamesOfAnyCaseAndTakesTheNewestRecordsSpelling) {
    auto records = derived({
        RecordBuilder("NOTEPAD", 1, 10),
        RecordBuilder("regedit", 3, 10),
        RecordBuilder("NotePad", 1, 10),
    });
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[1].programName, "NotePad");
    EXPECT_EQ(list[1].sessions, (std::vector{session({0, 2}, {})}));
}

TEST(ProgramList, LeavesOutAProgramWhoseRecordsAreAllUndone) {
    auto records = derived({RecordBuilder("notepad", 1, 10).undone(), RecordBuilder("notepad", 1, 11).undone()});
    EXPECT_TRUE(makeProgramList(records).empty());
}

TEST(ProgramList, KeepsARunWhoseRecordsAreUndoneButTheFirst) {
    auto records = derived({RecordBuilder("notepad", 1, 10), RecordBuilder("notepad", 1, 11).undone()});
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].sessions, (std::vector{session({0}, {})}));
}

TEST(ProgramList, StartsARunAfterAnUndoneFirstRecordAtTheFirstLiveOne) {
    auto records = derived({RecordBuilder("notepad", 1, 10).undone(), RecordBuilder("notepad", 1, 11)});
    EXPECT_EQ(makeProgramList(records)[0].sessions, (std::vector{session({1}, {})}));
}

TEST(ProgramList, SplitsOneProcessIdAtABootMarkerAndStopsCollectingThere) {
    auto records = derived({
        RecordBuilder("notepad", 1, 10),
        bootMarker(),
        RecordBuilder("notepad", 1, 11),
        RecordBuilder("notepad", 1, 12),
        bootMarker(),
        RecordBuilder("notepad", 2, 12),
    });
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].sessions, (std::vector{session({0}, {}), session({2, 3}, {}), session({5}, {})}));
}

TEST(ProgramList, CollectsProcessIdZeroOnceAnotherRecordMadeTheEntry) {
    auto records = derived({
        RecordBuilder("notepad", 0, 10),
        RecordBuilder("notepad", 0, 11),
        bootMarker(),
        RecordBuilder("notepad", 0, 12),
        RecordBuilder("wordpad", 0, 12),
    });
    EXPECT_TRUE(makeProgramList(records).empty());
    records.push_back(derived({RecordBuilder("notepad", 9, 13)})[0]);
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].sessions, (std::vector{session({0, 1}, {}), session({3}, {}), session({5}, {})}));
}

TEST(ProgramList, SortsSettingsFromDocumentsWithinARun) {
    auto records = derived({
        RecordBuilder("winword", 4, 10),
        RecordBuilder("winword", 4, kindModify).paths("c:\\docs\\letter.doc"),
        RecordBuilder("winword", 4, kindCreate).paths("c:\\windows\\winword.tmp"),
        RecordBuilder("regedit", 5, 10),
    });
    auto list = makeProgramList(records);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].sessions, (std::vector{session({0, 2}, {1})}));
    // The document is a file action of its own too; the settings are not.
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{1}}));

    auto registryOnly = derived({RecordBuilder("regedit", 5, 10)});
    EXPECT_EQ(makeProgramList(registryOnly)[0].sessions, (std::vector{session({0}, {})}));
    auto documentsOnly = derived({RecordBuilder("winword", 4, kindModify).paths("c:\\docs\\letter.doc")});
    EXPECT_EQ(makeProgramList(documentsOnly)[0].sessions, (std::vector{session({}, {0})}));
}

TEST(ProgramList, LeavesOutTheShellAndTheControlPanel) {
    auto records = derived({
        byExplorer(kindModify, "c:\\windows\\win.ini"),
        byExplorer(10, ""),
        RecordBuilder("cpl", 3, 10),
    });
    EXPECT_TRUE(makeProgramList(records).empty());
    EXPECT_TRUE(groupsOf(records).empty());
}

TEST(AppletList, KeysAppletsByPathAndRunsByTheFirstRecordsProcess) {
    auto records = derived({
        RecordBuilder("CPL", 1, 10).programPath("c:\\windows\\system\\desk.cpl"),
        RecordBuilder("CPL", 2, 10).programPath("c:\\windows\\system\\main.cpl"),
        RecordBuilder("CPL", 1, 11).programPath("C:\\WINDOWS\\SYSTEM\\DESK.CPL"),
        RecordBuilder("CPL", 3, 12).programPath("C:\\Windows\\System\\Desk.cpl"),
        RecordBuilder("CPL", 0, 12).programPath("c:\\windows\\system\\main.cpl"),
    });
    auto list = makeAppletList(records);
    ASSERT_EQ(list.size(), 2u);
    // main.cpl's last record with a process id is older than Desk.cpl's.
    EXPECT_EQ(list[0].appletPath, "c:\\windows\\system\\main.cpl");
    EXPECT_EQ(list[0].sessions, (std::vector{session({1}, {}), session({4}, {})}));
    EXPECT_EQ(list[1].appletPath, "C:\\Windows\\System\\Desk.cpl");
    EXPECT_EQ(list[1].sessions, (std::vector{session({0, 2}, {}), session({3}, {})}));
    EXPECT_TRUE(makeProgramList(records).empty());
}

TEST(FileActionList, GroupsAnExplorerDeleteByFolder) {
    auto oneFolder = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        byExplorer(kindDelete, "C:\\Docs\\b.doc"),
        byExplorer(kindDelete, "c:\\docs\\c.doc"),
    });
    EXPECT_EQ(groupsOf(oneFolder), (std::vector<Indices>{{0, 1, 2}}));
    auto twoFolders = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        byExplorer(kindDelete, "c:\\docs\\b.doc"),
        byExplorer(kindDelete, "c:\\other\\c.doc"),
    });
    EXPECT_EQ(groupsOf(twoFolders), (std::vector<Indices>{{0, 1}, {2}}));
}

TEST(FileActionList, GroupsExplorerCopiesIntoTwoFoldersAsOne) {
    auto records = derived({
        byExplorer(kindCopy, "c:\\one\\a.doc"),
        byExplorer(kindCopy, "c:\\two\\b.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0, 1}}));
}

TEST(FileActionList, GroupsMovesFromOneFolderOrIntoOne) {
    auto records = derived({
        byExplorer(kindMove, "c:\\one\\a.doc", "c:\\to\\a.doc"),
        byExplorer(kindMove, "c:\\one\\b.doc", "c:\\elsewhere\\b.doc"),  // from the same folder
        byExplorer(kindMove, "c:\\two\\c.doc", "c:\\elsewhere\\c.doc"),  // into the same folder
        byExplorer(kindMove, "c:\\three\\d.doc", "c:\\to\\d.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0, 1, 2}, {3}}));
}

TEST(FileActionList, GivesEveryExplorerRenameAGroupOfItsOwn) {
    auto records = derived({
        byExplorer(kindRename, "c:\\docs\\a.doc", "c:\\docs\\b.doc"),
        byExplorer(kindRename, "c:\\docs\\c.doc", "c:\\docs\\d.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0}, {1}}));
}

TEST(FileActionList, EndsAGroupAtAnotherProcessKindOrProgram) {
    auto records = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        RecordBuilder("Explorer", 41, kindDelete).paths("c:\\docs\\b.doc"),
        byExplorer(kindRecycle, "c:\\docs\\c.doc"),
        byNotepad(40, kindDelete, "c:\\docs\\d.doc"),
        byExplorer(kindRecycle, "c:\\docs\\e.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0}, {1}, {2}, {3}, {4}}));
}

TEST(FileActionList, LeavesAnUndoneRecordOutOfAGroupWithoutEndingIt) {
    auto records = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        byExplorer(kindDelete, "c:\\docs\\b.doc").undone(),
        byExplorer(kindDelete, "c:\\docs\\c.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0, 2}}));
}

// The undone record ends the group, yet the record behind it continues the
// group's last live record, so it is no group start either: it must still
// form a group, or the user could never see or undo it.
TEST(FileActionList, GivesARecordCutOffFromItsGroupByAnUndoneOneAGroupOfItsOwn) {
    auto otherFolder = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        byExplorer(kindDelete, "c:\\docs\\b.doc"),
        byExplorer(kindDelete, "c:\\other\\c.doc").undone(),
        byExplorer(kindDelete, "c:\\docs\\d.doc"),
        byExplorer(kindDelete, "c:\\docs\\e.doc"),
    });
    EXPECT_EQ(groupsOf(otherFolder), (std::vector<Indices>{{0, 1}, {3, 4}}));
    auto otherProgram = derived({
        byExplorer(kindDelete, "c:\\docs\\a.doc"),
        byNotepad(3, kindModify, "c:\\docs\\x.txt").undone(),
        byExplorer(kindDelete, "c:\\docs\\b.doc"),
        byExplorer(kindModify, "c:\\windows\\win.ini").undone(),
        byExplorer(kindDelete, "c:\\docs\\c.doc"),
    });
    EXPECT_EQ(groupsOf(otherProgram), (std::vector<Indices>{{0}, {2}, {4}}));
}

TEST(FileActionList, EndsAGroupAtAnIniFileOrARegistryChangeWhichJoinNone) {
    auto records = derived({
        byExplorer(kindModify, "c:\\docs\\a.txt"),
        byExplorer(kindCopy, "c:\\docs\\a.doc"),
        byExplorer(kindModify, "c:\\windows\\win.ini"),
        byExplorer(kindCopy, "c:\\docs\\b.doc"),
        byExplorer(10, ""),
        byExplorer(kindCopy, "c:\\docs\\c.doc"),
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0}, {1}, {3}, {5}}));
}

TEST(FileActionList, GroupsAnExplorerDeleteOfFilesWithoutExtensionsToo) {
    auto records = derived({
        byExplorer(kindDelete, "c:\\docs\\readme"),
        byExplorer(kindDelete, "c:\\docs\\license"),
        byNotepad(3, kindDelete, "c:\\docs\\notes"),  // a setting: no data extension
    });
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0, 1}}));
}

TEST(FileActionList, DropsARecycleOnceALaterDeleteOfTheSamePathSupersedesIt) {
    std::vector<ActionRecord> records = derived({byExplorer(kindRecycle, "c:\\docs\\a.doc")});
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{0}}));
    records.push_back(byNotepad(3, kindDelete, "C:\\Docs\\A.doc"));  // reported by a later rebuild
    records = derived(records);
    EXPECT_EQ(groupsOf(records), (std::vector<Indices>{{1}}));
}

TEST(ActionIndex, MarksTheFirstRecordOfEachHour) {
    auto records = derived({
        RecordBuilder("a", 1, 10).at(10, 5),
        RecordBuilder("a", 1, 10).at(10, 55),
        RecordBuilder("a", 1, 10).at(11, 1),
        RecordBuilder("a", 1, 10).at(11, 1),
        RecordBuilder("a", 1, 10).at(9, 0, 1998, 3, 20),  // the next day
        RecordBuilder("a", 1, 10).at(9, 0, 1998, 4, 1),   // the next month, though day 1 < 20
        RecordBuilder("a", 1, 10).at(9, 0, 1999, 1, 1),
        RecordBuilder("a", 1, 10).at(8, 0, 1999, 1, 1).undone(),  // earlier: no new hour
        RecordBuilder("a", 1, 10).at(9, 0, 1999, 1, 1),           // later than the undone one before it
    });
    EXPECT_EQ(makeActionIndex(records).hourStarts, (Indices{0, 2, 4, 5, 6, 8}));
}

TEST(ActionIndex, CountsTheFirstRecordOfTheFirstMomentAsAnHourStart) {
    auto records = derived({RecordBuilder("a", 1, 10), RecordBuilder("a", 1, 10)});  // date and time 0
    EXPECT_EQ(makeActionIndex(records).hourStarts, (Indices{0}));
    EXPECT_TRUE(makeActionIndex({}).hourStarts.empty());
}

TEST(ActionIndex, MarksProgramStartsByProcessWhateverTheProgramOrUndone) {
    auto records = derived({
        RecordBuilder("notepad", 1, 10).undone(),
        RecordBuilder("notepad", 1, 10),    // its process was seen, undone or not
        RecordBuilder("regedit", 1, 10),    // the same process under another name
        RecordBuilder("regedit", 2, 10),
        byExplorer(kindCreate, "c:\\a.doc"),
        RecordBuilder("cpl", 3, 10),
        bootMarker(),
        RecordBuilder("notepad", 1, 10),
        RecordBuilder("notepad", 0, 10),
        RecordBuilder("notepad", 0, 10),
    });
    records.push_back(derived({bootMarker()})[0]);
    records.back().setUndone(1);
    ActionIndex index = makeActionIndex(records);
    EXPECT_EQ(index.programStarts, (Indices{3, 7, 8}));
    EXPECT_EQ(index.bootMarkers, (Indices{6}));
}

TEST(DerivedLists, BuildsAllFourAndFreesThem) {
    auto records = derived({
        bootMarker(),
        RecordBuilder("notepad", 1, 10).at(10, 0),
        byNotepad(1, kindCreate, "c:\\docs\\a.txt"),
        RecordBuilder("CPL", 2, 10).programPath("c:\\windows\\system\\desk.cpl"),
    });
    buildDerivedLists(records);
    EXPECT_EQ(programList, makeProgramList(records));
    EXPECT_EQ(appletList, makeAppletList(records));
    EXPECT_EQ(fileActionList, makeFileActionList(records));
    EXPECT_EQ(actionIndex, makeActionIndex(records));
    EXPECT_EQ(programList.size(), 1u);
    EXPECT_EQ(appletList.size(), 1u);
    EXPECT_EQ(fileActionList.size(), 1u);
    EXPECT_EQ(actionIndex.bootMarkers.size(), 1u);

    buildDerivedLists(std::span(records).first(1));
    EXPECT_TRUE(programList.empty());
    EXPECT_EQ(actionIndex.bootMarkers.size(), 1u);

    // A build given up between any two steps leaves no lists rather than some.
    for (int givingUpAt = 1; givingUpAt <= 4; ++givingUpAt) {
        buildDerivedLists(records);
        const uint32_t generation = derivedListsGeneration;
        int asks = 0;
        EXPECT_FALSE(buildDerivedLists(records, [&] { return ++asks == givingUpAt; })) << givingUpAt;
        EXPECT_TRUE(programList.empty() && appletList.empty() && fileActionList.empty()) << givingUpAt;
        EXPECT_EQ(actionIndex, ActionIndex{}) << givingUpAt;
        EXPECT_NE(derivedListsGeneration, generation) << givingUpAt;
    }
    EXPECT_TRUE(buildDerivedLists(records, [] { return false; }));
    EXPECT_EQ(programList, makeProgramList(records));
    freeDerivedLists();
    EXPECT_TRUE(programList.empty() && appletList.empty() && fileActionList.empty());
    EXPECT_EQ(actionIndex, ActionIndex{});
}
