// The one-pass classifications against the plain walks of
// derived_lists_oracle.cpp, over many random histories.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/dos_time.h"
#include "base/text.h"
#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/newest_entries.h"
#include "derived_lists_oracle.h"

namespace {

struct Program {
    const char* names[3];  // spellings of one module name
    const char* paths[3];
    int32_t processIds[3];
};

// Few programs and few process ids, so that names, runs and applets meet often.
const Program programs[] = {
    {{"notepad", "NotePad", "NOTEPAD"}, {"c:\\windows\\notepad.exe", "C:\\WINDOWS\\NOTEPAD.EXE", ""}, {1, 2, 0}},
    {{"winword", "WinWord", "winword"}, {"c:\\office\\winword.exe", "", ""}, {3, 1, 0}},
    {{"explorer", "Explorer", "EXPLORER"}, {"c:\\windows\\explorer.exe", "", ""}, {40, 41, 0}},
    {{"CPL", "cpl", "Cpl"},
     {"c:\\windows\\system\\desk.cpl", "C:\\Windows\\System\\DESK.CPL", "c:\\windows\\system\\main.cpl"},
     {5, 6, 0}},
    {{"regedit", "iexplore", ""}, {"c:\\windows\\regedit.exe", "c:\\windows\\system\\desk.cpl", ""}, {7, 0, -3}},
};

const char* folders[] = {"c:\\docs", "C:\\Docs", "c:\\other", "c:", "", "c:\\my.ini"};
const char* fileNames[] = {"a.txt",        "B.TXT",  "win.ini", "config.sys", "MSDOS.SYS", "autoexec.bat",
                           "readme",       "x.doc",  "y.ini",   "z.",         "report.Doc"};
const int32_t kinds[] = {1, 1, 2, 2, 3, 4, 4, 4, 5, 5, 6, 7, 7, 8, 8, 10, 11, 12, 13, 14, 0, 9};

class HistoryMaker {
public:
    explicit HistoryMaker(uint32_t seed) : random_(seed) {}

    std::vector<ActionRecord> make(size_t count) {
        std::vector<ActionRecord> records;
        date_ = encodeDosDate(1998, 1 + below(12), 1 + below(28));
        time_ = encodeDosTime(below(24), below(60), 0);
        while (records.size() < count) {
            if (below(8) == 0) {
                addBurst(records, count);
            } else {
                records.push_back(oneRecord(programs[below(5)], kinds[below(std::size(kinds))]));
            }
        }
        return records;
    }

    // Flags as a loaded file may hold them, not as deriveFlags would set them.
    void scrambleFlags(std::vector<ActionRecord>& records) {
        for (ActionRecord& r : records) {
            r.setIsSetting(below(3));
            r.setIsExplorer(below(3) == 0);
            r.setIsControlPanel(below(5) == 0);
            r.setIsIniFile(below(6) == 0);
            r.setIsBootMarker(below(10) == 0 ? !(r.kind == kindBootMarker) : r.kind == kindBootMarker);
        }
    }

    DerivedFlagInputs inputs() {
        static const std::vector<std::string> lists[] = {{"TXT", "", "doc"}, {}, {"", "SYS", "ini", "Doc"}};
        static const char* modules[] = {"", "NOTEPAD|winword", "|iexplore|"};
        return {lists[below(3)], modules[below(3)]};
    }

    int below(size_t n) { return int(std::uniform_int_distribution<size_t>(0, n - 1)(random_)); }

private:
    std::string path() {
        switch (below(6)) {
        case 0: return "";
        case 1: return fileNames[below(std::size(fileNames))];
        default: return std::string(folders[below(std::size(folders))]) + "\\" + fileNames[below(std::size(fileNames))];
        }
    }

    void advanceClock() {
        int32_t seconds = dosSecondOfDay(time_);
        switch (below(20)) {
        case 0: case 1: case 2: case 3: case 4: case 5: break;  // the same second
        case 6: case 7: case 8: case 9: case 10: case 11: seconds += 2 * (1 + below(60)); break;
        case 12: case 13: case 14: case 15: seconds += 60 * (1 + below(90)); break;
        case 16: case 17: seconds += 3600 * (1 + below(5)); break;
        case 18: date_ = uint16_t(date_ + 1 + below(40)); break;  // days on, months and years too
        case 19: seconds -= 60 * below(120); break;                // a clock set back
        }
        seconds = std::clamp(seconds, 0, 86398);
        time_ = encodeDosTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
    }

    ActionRecord oneRecord(const Program& program, int32_t kind) {
        advanceClock();
        ActionRecord r;
        setFieldText(r.programName, program.names[below(3)]);
        r.programPath = program.paths[below(3)];
        r.processId = program.processIds[below(3)];
        r.kind = kind;
        r.source = kind >= kindRegistryFirst ? sourceRegistryReport : sourceFileReport;
        if (below(20) == 0) r.source = below(3);
        r.date = date_;
        r.time = time_;
        r.dataA = kind == kindBootMarker ? "BOOT" : path();
        if (kind == kindRename || kind == kindMove || (kind == kindCopy && below(4) == 0)) r.dataB = path();
        r.setUndone(below(20) < 3 ? 1 + below(2) : 0);
        r.setIsIniFile(below(10) == 0);  // left over from the last rebuild
        return r;
    }

    // One Explorer operation on several files, in one folder or two.
    void addBurst(std::vector<ActionRecord>& records, size_t count) {
        const Program& explorer = programs[2];
        int32_t kind = std::array{kindDelete, kindRecycle, kindCopy, kindMove, kindRename}[below(5)];
        int32_t processId = explorer.processIds[below(3)];
        std::string folder = folders[below(std::size(folders))];
        for (int n = 2 + below(5); n > 0 && records.size() < count; --n) {
            ActionRecord r = oneRecord(below(10) == 0 ? programs[below(5)] : explorer, kind);
            r.processId = below(10) == 0 ? r.processId : processId;
            if (below(4) == 0) folder = folders[below(std::size(folders))];
            r.dataA = folder + "\\" + fileNames[below(std::size(fileNames))];
            records.push_back(std::move(r));
        }
    }

    std::mt19937 random_;
    uint16_t date_ = 0;
    uint16_t time_ = 0;
};

void expectSameFlags(const std::vector<ActionRecord>& fast, const std::vector<ActionRecord>& plain) {
    for (size_t j = 0; j < fast.size(); ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(fast[j].isSetting(), plain[j].isSetting());
        EXPECT_EQ(fast[j].isControlPanel(), plain[j].isControlPanel());
        EXPECT_EQ(fast[j].isExplorer(), plain[j].isExplorer());
        EXPECT_EQ(fast[j].isBootMarker(), plain[j].isBootMarker());
        EXPECT_EQ(fast[j].isIniFile(), plain[j].isIniFile());
        EXPECT_EQ(fast[j].isDownload(), plain[j].isDownload());
        EXPECT_EQ(fast[j].undone(), plain[j].undone());
    }
}

void expectSameLists(const std::vector<ActionRecord>& records) {
    std::vector<uint8_t> runStarts = findRunStarts(records);
    std::vector<uint8_t> groupStarts = findGroupStarts(records);
    std::vector<uint8_t> programStarts = findProgramStarts(records);
    for (size_t j = 0; j < records.size(); ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(bool(runStarts[j]), oracle::isRunStart(records, j));
        EXPECT_EQ(bool(groupStarts[j]), oracle::isGroupStart(records, j));
        EXPECT_EQ(bool(programStarts[j]), oracle::isProgramStart(records, j));
    }
    buildDerivedLists(records);
    EXPECT_EQ(programList, oracle::buildProgramList(records));
    EXPECT_EQ(appletList, oracle::buildAppletList(records));
    EXPECT_EQ(fileActionList, oracle::buildFileActionList(records));
    EXPECT_EQ(actionIndex, oracle::buildActionIndex(records));
}

}  // namespace

TEST(RandomHistories, DerivedFlagsMatchThePlainWalk) {
    for (uint32_t seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE(seed);
        HistoryMaker maker(seed);
        std::vector<ActionRecord> fast = maker.make(size_t(maker.below(301)));
        std::vector<ActionRecord> plain = fast;
        DerivedFlagInputs inputs = maker.inputs();
        deriveFlags(fast, inputs);
        oracle::deriveFlags(plain, {inputs.dataFileExtensions, inputs.downloadModules});
        expectSameFlags(fast, plain);
        if (HasFailure()) return;
    }
}

TEST(RandomHistories, DerivedListsMatchThePlainWalksWithDerivedFlags) {
    for (uint32_t seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE(seed);
        HistoryMaker maker(seed);
        std::vector<ActionRecord> records = maker.make(size_t(maker.below(301)));
        deriveFlags(records, maker.inputs());
        expectSameLists(records);
        if (HasFailure()) return;
    }
}

TEST(RandomHistories, DerivedListsMatchThePlainWalksWithFlagsAsLoaded) {
    for (uint32_t seed = 10001; seed <= 12000; ++seed) {
        SCOPED_TRACE(seed);
        HistoryMaker maker(seed);
        std::vector<ActionRecord> records = maker.make(size_t(maker.below(301)));
        maker.scrambleFlags(records);
        expectSameLists(records);
        if (HasFailure()) return;
    }
}

TEST(RandomHistories, TheNewestEntriesAreTheLastOfTheWholeLists) {
    for (uint32_t seed = 20001; seed <= 20600; ++seed) {
        SCOPED_TRACE(seed);
        HistoryMaker maker(seed);
        std::vector<ActionRecord> records = maker.make(size_t(maker.below(2001)));
        if (seed % 2) maker.scrambleFlags(records);
        else deriveFlags(records, maker.inputs());
        std::vector<ProgramEntry> programs = makeProgramList(records);
        std::vector<FileActionGroup> groups = makeFileActionList(records);
        std::vector<AppletEntry> applets = makeAppletList(records);
        for (size_t count : {size_t(1), size_t(10), size_t(maker.below(400))}) {
            SCOPED_TRACE(count);
            std::vector<ProgramEntry> newestPrograms = newestProgramEntries(records, count);
            ASSERT_EQ(newestPrograms.size(), std::min(count, programs.size()));
            for (size_t k = 0; k < newestPrograms.size(); ++k)
                EXPECT_STREQ(newestPrograms[k].programName,
                             programs[programs.size() - newestPrograms.size() + k].programName);
            std::vector<FileActionGroup> expected(groups.end() - ptrdiff_t(std::min(count, groups.size())),
                                                  groups.end());
            EXPECT_EQ(newestFileActionGroups(records, count), expected);
            std::vector<std::string> newestApplets = newestAppletPaths(records, count);
            ASSERT_EQ(newestApplets.size(), std::min(count, applets.size()));
            for (size_t k = 0; k < newestApplets.size(); ++k)
                EXPECT_EQ(newestApplets[k], applets[applets.size() - newestApplets.size() + k].appletPath);
        }
        if (HasFailure()) return;
    }
}

TEST(RandomHistories, TheNewestEntriesFoundClickByClickAreThoseFoundAfresh) {
    for (uint32_t seed = 30001; seed <= 30400; ++seed) {
        SCOPED_TRACE(seed);
        HistoryMaker maker(seed);
        std::vector<ActionRecord> history = maker.make(size_t(maker.below(1501)));
        deriveFlags(history, maker.inputs());
        NewestEntriesFinder finder;
        std::vector<ActionRecord> records;
        uint64_t moves = 0;
        const size_t count = 1 + size_t(maker.below(12));
        for (size_t next = 0; next < history.size();) {
            // Each click brings new records, some after undos, unannounced,
            // or after a trim, which moves every record.
            for (int undo = maker.below(4); undo > 0 && !records.empty(); --undo)
                records[records.size() - 1 - size_t(maker.below(std::min<size_t>(records.size(), 30)))].setUndone(1);
            if (maker.below(10) == 0) {
                records.erase(records.begin(), records.begin() + maker.below(std::min<size_t>(records.size(), 50) + 1));
                ++moves;
            }
            const size_t step = std::min<size_t>(history.size() - next, size_t(maker.below(150)));
            records.insert(records.end(), history.begin() + ptrdiff_t(next), history.begin() + ptrdiff_t(next + step));
            next += step;
            ASSERT_EQ(finder.programs(records, count, moves), newestProgramEntries(records, count));
            ASSERT_EQ(finder.appletPaths(records, count, moves), newestAppletPaths(records, count));
        }
    }
}

TEST(RandomHistories, ReachTheCasesTheyAreMeantToCheck) {
    // Guards the generator: a change that stopped it making groups, sessions
    // or hour starts would leave the comparisons above with nothing to compare.
    size_t groupsOfSeveral = 0, sessionsOfSeveral = 0, applets = 0, hourStarts = 0, records = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        HistoryMaker maker(seed);
        std::vector<ActionRecord> history = maker.make(size_t(maker.below(301)));
        deriveFlags(history, maker.inputs());
        buildDerivedLists(history);
        records += history.size();
        for (const FileActionGroup& group : fileActionList) groupsOfSeveral += group.actions.size() > 1;
        for (const ProgramEntry& entry : programList)
            for (const ProgramSession& session : entry.sessions)
                sessionsOfSeveral += session.settingActions.size() + session.fileActions.size() > 1;
        applets += appletList.size();
        hourStarts += actionIndex.hourStarts.size();
    }
    EXPECT_GT(groupsOfSeveral, 200u);
    EXPECT_GT(sessionsOfSeveral, 200u);
    EXPECT_GT(applets, 200u);
    EXPECT_GT(hourStarts, records / 20);
    EXPECT_LT(hourStarts, records / 2);
}
