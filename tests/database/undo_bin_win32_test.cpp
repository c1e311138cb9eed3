// Undo Bin upkeep against a real folder of the test machine.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/undo_bin_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/faulty_disk_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

class UndoBinUpkeep : public testing::Test {
protected:
    void SetUp() override {
        installDefaultSettingsKey();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        bin = std::string(temp) + "Retrace Upkeep Bin";
        CreateDirectoryA(bin.c_str(), nullptr);
        useBin(bin, 100000000);
        loadActionList();  // no file yet: an empty, readable history
        actionList.clear();
        ASSERT_TRUE(saveActionList());  // a bin in use holds its list, which makes it a bin
    }

    void TearDown() override {
        for (const std::string& name : filesIn(bin)) DeleteFileA((bin + "\\" + name).c_str());
        RemoveDirectoryA((bin + "\\Redo").c_str());
        RemoveDirectoryA(bin.c_str());
        actionList.clear();
        installDefaultSettingsKey();
    }

    static void useBin(const std::string& folder, uint32_t size) {
        Settings settings;
        loadSettings(settings);
        setFieldText(settings.UndoBinPath, folder);
        settings.UndoBinSize = size;
        saveSettings(settings);
    }

    // A bin of its own that no upkeep of this process has listed yet, as at
    // start-up, with an empty history.
    void useUnlistedBin(const std::string& name) {
        TearDown();
        bin += " " + name;
        CreateDirectoryA(bin.c_str(), nullptr);
        useBin(bin, 100000);
        ASSERT_TRUE(saveActionList());
    }

    std::string put(const std::string& name, size_t size = 10) {
        std::string path = bin + "\\" + name;
        std::ofstream(path, std::ios::binary) << std::string(size, 's');
        return path;
    }

    void append(int32_t kind, const std::string& savedCopy = "") {
        ActionRecord record;
        record.kind = kind;
        record.source = sourceFileReport;
        record.setIsBootMarker(kind == kindBootMarker);
        record.dataA = "c:\\docs\\file.txt";
        record.dataC = savedCopy;
        actionList.push_back(record);
    }

    std::string bin;
};

}  // namespace

TEST_F(UndoBinUpkeep, TheSweepKeepsNamedCopiesBackupsTheListTheReportsAndSubfolders) {
    append(kindDelete, put("kept.sav"));
    put("orphan.sav");
    put("filereport.000");
    put("BACKUP actionlist.000");
    put("actionlist.000");
    put("actionlist.000.new");
    CreateDirectoryA((bin + "\\Redo").c_str(), nullptr);

    sweepUndoBin();

    EXPECT_TRUE(fileExists(bin + "\\kept.sav"));
    EXPECT_FALSE(fileExists(bin + "\\orphan.sav"));
    EXPECT_TRUE(fileExists(bin + "\\filereport.000"));
    EXPECT_TRUE(fileExists(bin + "\\BACKUP actionlist.000"));
    EXPECT_TRUE(fileExists(bin + "\\actionlist.000"));
    EXPECT_TRUE(fileExists(bin + "\\actionlist.000.new"));
    EXPECT_TRUE(fileExists(bin + "\\Redo"));
}

TEST_F(UndoBinUpkeep, AnOverfullBinDropsTheOldestSessionsWithTheirCopiesButNeverTheCurrentOne) {
    append(kindBootMarker);
    append(kindDelete, put("first.sav", 1000));
    append(kindRecycle, "c:\\recycled\\dc1.txt");
    append(kindBootMarker);
    append(kindModify, put("second.sav", 1000));
    append(kindBootMarker);
    append(kindModify, put("current.sav", 1000));
    useBin(bin, 0);

    maintainUndoBin();

    ASSERT_EQ(actionCount(), 2);
    EXPECT_EQ(actionList[0].kind, kindBootMarker);
    EXPECT_FALSE(fileExists(bin + "\\first.sav"));
    EXPECT_FALSE(fileExists(bin + "\\second.sav"));
    EXPECT_TRUE(fileExists(bin + "\\current.sav"));
}

TEST_F(UndoBinUpkeep, ABinWithinItsLimitKeepsEverySession) {
    append(kindBootMarker);
    append(kindDelete, put("first.sav", 1000));
    append(kindBootMarker);
    maintainUndoBin();
    EXPECT_EQ(actionCount(), 3);
    EXPECT_TRUE(fileExists(bin + "\\first.sav"));
}

TEST_F(UndoBinUpkeep, WhatTheSweepDeletesNoLongerCountsTowardsTheLimit) {
    append(kindBootMarker);
    append(kindDelete, put("first.sav", 1000));
    append(kindBootMarker);
    put("orphan.sav", 5000);
    useBin(bin, 1500);
    maintainUndoBin();
    EXPECT_FALSE(fileExists(bin + "\\orphan.sav"));
    EXPECT_EQ(actionCount(), 3);
    EXPECT_TRUE(fileExists(bin + "\\first.sav"));
}

TEST_F(UndoBinUpkeep, AFirstTrimWithinTheLimitLeavesTheSweepToComeAndThatSweepTakesOnlyWhatWasListed) {
    useUnlistedBin("within");
    append(kindBootMarker);
    append(kindDelete, put("named.sav", 1000));
    append(kindBootMarker);
    put("orphan.sav", 5000);

    BinUpkeep upkeep = trimUndoBin(0);
    EXPECT_FALSE(upkeep.swept);
    EXPECT_TRUE(fileExists(bin + "\\orphan.sav")) << "left for the sweep in the background";
    put("saved since.sav");
    sweepUndoBin();
    EXPECT_FALSE(fileExists(bin + "\\orphan.sav"));
    EXPECT_TRUE(fileExists(bin + "\\saved since.sav")) << "a file that the trim's listing did not hold waits";
    EXPECT_TRUE(fileExists(bin + "\\named.sav"));
    EXPECT_EQ(actionCount(), 3);
}

TEST_F(UndoBinUpkeep, NoSessionGoesForFilesThatNoRecordNamesWhileTheBinIsUnswept) {
    // Over the limit only with the orphan counted: at the first trim of the
    // bin, and at a trim after a first one that left the sweep to come.
    for (bool firstTrimWithinLimit : {false, true}) {
        useUnlistedBin(firstTrimWithinLimit ? "unswept" : "first");
        append(kindBootMarker);
        append(kindDelete, put("first.sav", 1000));
        append(kindBootMarker);
        put("orphan.sav", 5000);
        if (firstTrimWithinLimit) trimUndoBin(0);

        useBin(bin, 1500);
        BinUpkeep upkeep = trimUndoBin(actionCount());
        EXPECT_TRUE(upkeep.swept) << firstTrimWithinLimit;
        EXPECT_EQ(upkeep.dropped, 0u) << firstTrimWithinLimit;
        EXPECT_FALSE(fileExists(bin + "\\orphan.sav")) << firstTrimWithinLimit;
        EXPECT_TRUE(fileExists(bin + "\\first.sav")) << firstTrimWithinLimit;
    }
}

TEST_F(UndoBinUpkeep, AnUnnamedFileThatCannotBeDeletedStillCounts) {
    append(kindBootMarker);
    append(kindDelete, put("first.sav", 1000));
    append(kindBootMarker);
    std::string orphan = put("orphan.sav", 5000);
    HANDLE held = CreateFileA(orphan.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    useBin(bin, 5500);
    maintainUndoBin();
    CloseHandle(held);
    EXPECT_TRUE(fileExists(orphan));
    EXPECT_EQ(actionCount(), 1);  // 6000 bytes over 5500: the older session goes
    EXPECT_FALSE(fileExists(bin + "\\first.sav"));
}

TEST_F(UndoBinUpkeep, EmptyingTheBinLeavesTheCurrentBootSession) {
    for (int session = 0; session < 3; ++session) {
        append(kindBootMarker);
        append(kindCreate);
    }
    emptyUndoBin();
    EXPECT_EQ(actionCount(), 2);
}

TEST_F(UndoBinUpkeep, NothingIsDeletedWhenTheBinIsTheRootOfADrive) {
    std::string probe = "C:\\retrace-sweep-probe.txt";
    std::ofstream(probe) << "a person's own file";
    for (const char* folder : {"", "C:\\", "C:"}) {
        useBin(folder, 0);
        maintainUndoBin();
        EXPECT_TRUE(fileExists(probe)) << '"' << folder << '"';
        EXPECT_FALSE(saveActionList()) << '"' << folder << '"';
        EXPECT_FALSE(fileExists("C:\\actionlist.000")) << '"' << folder << '"';
    }
    DeleteFileA(probe.c_str());
}

TEST_F(UndoBinUpkeep, NothingIsDeletedWhileTheStoredHistoryCouldNotBeRead) {
    std::string list = put("actionlist.000", 100);
    HANDLE held = CreateFileA(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    auto dismissed = answerMessageBoxLater("Error!", IDOK);
    EXPECT_EQ(loadActionList(), ActionListLoad::Unreadable);
    EXPECT_TRUE(dismissed.get());
    CloseHandle(held);

    put("orphan.sav");
    append(kindBootMarker);
    append(kindBootMarker);
    useBin(bin, 0);
    maintainUndoBin();
    EXPECT_TRUE(fileExists(bin + "\\orphan.sav"));
    EXPECT_EQ(actionCount(), 2);
    loadActionList();  // readable again: clears the state for the next test
}

TEST_F(UndoBinUpkeep, TheSweepSparesTheCopiesThatTheReadableRecordsOfAKeptAsideListName) {
    append(kindDelete, put("older1.sav"));
    append(kindModify, put("older2.sav"));
    append(kindDelete, put("older3.sav"));
    std::string damaged = serializeActionList(actionList);
    damaged.pop_back();  // the third record cut short
    std::ofstream(bin + "\\actionlist.000", std::ios::binary) << damaged;
    ASSERT_EQ(loadActionList(), ActionListLoad::Damaged);
    append(kindDelete, put("current.sav"));
    put("orphan.sav");

    sweepUndoBin();

    EXPECT_TRUE(fileExists(bin + "\\BACKUP actionlist.000"));
    EXPECT_TRUE(fileExists(bin + "\\older1.sav"));
    EXPECT_TRUE(fileExists(bin + "\\older2.sav"));
    EXPECT_FALSE(fileExists(bin + "\\older3.sav"));
    EXPECT_TRUE(fileExists(bin + "\\current.sav"));
    EXPECT_FALSE(fileExists(bin + "\\orphan.sav"));
}

TEST_F(UndoBinUpkeep, ADeleteStruckAtAnyCallNeverSeparatesARecordFromItsCopy) {
    const std::vector<std::string> copies{"a.sav", "b.sav", "c.sav", "shared.sav", "current.sav", "kept aside.sav"};
    auto named = [&](const std::string& name) {
        return std::any_of(actionList.begin(), actionList.end(),
                           [&](const ActionRecord& record) { return record.dataC == bin + "\\" + name; });
    };
    runFaultMatrix(
        "Undo Bin sweep and trim",
        [&] {
            TearDown();
            SetUp();
            append(kindDelete, put("kept aside.sav"));
            std::ofstream(bin + "\\BACKUP actionlist.000", std::ios::binary) << serializeActionList(actionList);
            actionList.clear();
            put("orphan.sav");
            append(kindBootMarker);
            append(kindDelete, put("a.sav"));
            append(kindModify, put("b.sav"));
            append(kindBootMarker);
            append(kindDelete, put("c.sav"));
            append(kindDelete, put("shared.sav"));
            append(kindBootMarker);
            append(kindDelete, bin + "\\shared.sav");  // redone: it names the copy of the undone one
            append(kindModify, put("current.sav"));
            useBin(bin, 0);
        },
        [] { maintainUndoBin(); },
        [&] {
            for (const ActionRecord& record : actionList)
                EXPECT_TRUE(savedCopyOf(record).empty() || fileExists(record.dataC)) << record.dataC;
            for (const std::string& name : copies)
                EXPECT_TRUE(!fileExists(bin + "\\" + name) || named(name) || name == "kept aside.sav") << name;
            EXPECT_TRUE(fileExists(bin + "\\kept aside.sav"));
            ASSERT_GE(actionCount(), 3);
            EXPECT_EQ(actionList[size_t(actionCount()) - 3].kind, kindBootMarker) << "the current session stays";
        },
        {Fault::Cut, Fault::FailOne, Fault::LieOne});
}

TEST_F(UndoBinUpkeep, AFolderOfSomeonesOwnFilesIsNeitherSweptNorTrimmedNorWrittenInto) {
    DeleteFileA((bin + "\\actionlist.000").c_str());
    std::string thesis = put("thesis.doc"), notes = put("notes.txt");
    append(kindBootMarker);
    append(kindModify, thesis);
    append(kindBootMarker);
    useBin(bin, 0);

    EXPECT_EQ(undoBinFolderInUse(), "");
    maintainUndoBin();
    trimUndoBin(0);
    emptyUndoBin();
    EXPECT_FALSE(saveActionList());
    EXPECT_EQ(actionCount(), 3);
    std::vector<std::string> left = filesIn(bin);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "thesis.doc"}));
}
