// Loading and saving "actionlist.000" in an Undo Bin folder of the test
// machine's own file system.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <future>
#include <iterator>
#include <set>

#include "base/text.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/support/faulty_disk_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/window_search_win32.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every entry of the folder but "." and "..", folders included.
std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void setUndoBinPath(const std::string& folder) {
    Settings settings;
    loadSettings(settings);
    setFieldText(settings.UndoBinPath, folder);
    saveSettings(settings);
}

ActionRecord record(int32_t kind, const char* path, int32_t undone = 0) {
    ActionRecord r;
    std::strcpy(r.programName, "notepad");
    r.programPath = "c:\\windows\\notepad.exe";
    r.kind = kind;
    r.source = sourceFileReport;
    r.dataA = path;
    r.setUndone(undone);
    return r;
}

std::vector<ActionRecord> history() {
    ActionRecord dword = record(10, "");
    dword.source = sourceRegistryReport;
    dword.dataA.assign("\x01\0\0\0", 4);
    dword.sizeA = 4;
    dword.dataC = "hkcu\\software\\x\\count";
    return {record(kindBootMarker, "boot0001"), record(kindCreate, "c:\\a.txt"), record(kindDelete, "c:\\b.txt", 1),
            dword};
}

class ActionListFile : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "retrace action list test";
        emptyFolder();
        CreateDirectoryA(folder.c_str(), nullptr);
        installDefaultSettingsKey();
        setUndoBinPath(folder);
        listPath = folder + "\\actionlist.000";
        actionList.clear();
    }
    void TearDown() override {
        emptyFolder();
        // A load that finds no file forgets what the last one found.
        loadActionList();
        RemoveDirectoryA(folder.c_str());
        installDefaultSettingsKey();
    }
    void emptyFolder() const {
        for (const std::string& name : filesIn(folder)) {
            const std::string path = folder + "\\" + name;
            if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
        }
    }

    std::string folder, listPath;
};

}  // namespace

TEST_F(ActionListFile, PathsAreMadeFromTheUndoBinFolderOfTheCurrentSettings) {
    EXPECT_EQ(actionListPath(), listPath);
    EXPECT_EQ(actionListTemporaryPath(), folder + "\\actionlist.000.new");
    setUndoBinPath("D:\\Elsewhere");
    EXPECT_EQ(actionListPath(), "D:\\Elsewhere\\actionlist.000");
}

TEST_F(ActionListFile, ASavedListLoadsBackWithoutItsUndoneRecords) {
    const std::vector<ActionRecord> saved = history();
    actionList = saved;
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(readFile(listPath), serializeActionList(saved));
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});

    actionList.clear();
    EXPECT_EQ(loadActionList(), ActionListLoad::Loaded);
    EXPECT_FALSE(actionListFileUnread());
    EXPECT_EQ(serializeActionList(actionList), serializeActionList({saved[0], saved[1], saved[3]}));
}

TEST_F(ActionListFile, AListTheFileAlreadyHoldsIsNotWrittenAgainButAnyChangeIsWhoeverMadeIt) {
    auto lastWrite = [&] {
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        GetFileAttributesExA(listPath.c_str(), GetFileExInfoStandard, &attributes);
        return uint64_t(attributes.ftLastWriteTime.dwHighDateTime) << 32 | attributes.ftLastWriteTime.dwLowDateTime;
    };
    actionList = {history()[0], history()[1], history()[3]};
    ASSERT_TRUE(saveActionList());
    ASSERT_EQ(loadActionList(), ActionListLoad::Loaded);
    const uint64_t loaded = lastWrite();
    Sleep(50);
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(lastWrite(), loaded) << "an unchanged list was written again";

    actionList[1].setIsSetting(1);
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(readFile(listPath), serializeActionList(actionList));

    // The same size from another hand: the list is put back.
    const std::string ours = readFile(listPath);
    writeFile(listPath, std::string(ours.size(), 'x'));
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(readFile(listPath), ours);
}

TEST_F(ActionListFile, NoFileOrAnEmptyOneIsAnEmptyHistory) {
    actionList = history();
    EXPECT_EQ(loadActionList(), ActionListLoad::Empty);
    EXPECT_EQ(actionCount(), 0);

    actionList = history();
    writeFile(listPath, "");
    EXPECT_EQ(loadActionList(), ActionListLoad::Empty);
    EXPECT_EQ(actionCount(), 0);
    EXPECT_FALSE(actionListFileUnread());
}

TEST_F(ActionListFile, SavingAnEmptyListWritesAnEmptyFile) {
    writeFile(listPath, serializeActionList(history()));
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(readFile(listPath), "");
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});
}

TEST_F(ActionListFile, ADamagedFileIsKeptAsideUnderABackupNameAndLoadsEmpty) {
    std::string damaged = serializeActionList(history());
    damaged.pop_back();
    writeFile(listPath, damaged);

    EXPECT_EQ(loadActionList(), ActionListLoad::Damaged);
    EXPECT_EQ(actionCount(), 0);
    EXPECT_FALSE(actionListFileUnread());
    EXPECT_EQ(readFile(folder + "\\BACKUP actionlist.000"), damaged);

    actionList = {record(kindCreate, "c:\\new.txt")};
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"actionlist.000", "BACKUP actionlist.000"}));
    EXPECT_EQ(readFile(folder + "\\BACKUP actionlist.000"), damaged);
}

TEST_F(ActionListFile, ASecondDamagedFileDoesNotOverwriteTheFirstBackup) {
    writeFile(listPath, "first damage");
    EXPECT_EQ(loadActionList(), ActionListLoad::Damaged);
    writeFile(listPath, "second damage");
    EXPECT_EQ(loadActionList(), ActionListLoad::Damaged);

    EXPECT_EQ(readFile(folder + "\\BACKUP actionlist.000"), "first damage");
    EXPECT_EQ(readFile(folder + "\\BACKUP 2 actionlist.000"), "second damage");
    EXPECT_EQ(filesIn(folder).count("actionlist.000"), 0u);
}

TEST_F(ActionListFile, ADamagedFileThatCannotBeMovedAsideIsNeverSavedOver) {
    writeFile(listPath, "damaged");
    // Readers may share it, but nobody may move it.
    HANDLE holder = CreateFileA(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(loadActionList(), ActionListLoad::Damaged);
    EXPECT_TRUE(actionListFileUnread());
    actionList = history();
    EXPECT_FALSE(saveActionList());
    CloseHandle(holder);
    EXPECT_EQ(readFile(listPath), "damaged");
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});
}

TEST_F(ActionListFile, AFileThatCannotBeReadIsReportedAndNeverSavedOver) {
    const std::string kept = serializeActionList(history());
    writeFile(listPath, kept);
    HANDLE holder = CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    auto box = answerMessageBoxLater("Error!", IDOK);
    EXPECT_EQ(loadActionList(), ActionListLoad::Unreadable);
    EXPECT_TRUE(box.get());
    EXPECT_EQ(actionCount(), 0);
    EXPECT_TRUE(actionListFileUnread());

    actionList = {record(kindCreate, "c:\\new.txt")};
    EXPECT_FALSE(saveActionList());
    CloseHandle(holder);
    EXPECT_FALSE(saveActionList());  // still: this run never read that history
    EXPECT_EQ(readFile(listPath), kept);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});

    EXPECT_EQ(loadActionList(), ActionListLoad::Loaded);  // once readable, all is as before
    EXPECT_FALSE(actionListFileUnread());
    EXPECT_EQ(actionCount(), 3);
}

TEST_F(ActionListFile, ASaveReplacesALeftoverTemporaryFileAndLeavesNoneBehind) {
    writeFile(listPath, serializeActionList({record(kindCreate, "c:\\old.txt")}));
    writeFile(folder + "\\actionlist.000.new", "half a list from a save that died");
    actionList = history();
    ASSERT_TRUE(saveActionList());
    EXPECT_EQ(readFile(listPath), serializeActionList(history()));
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});
}

TEST_F(ActionListFile, ASaveThatCannotReplaceTheOldFileLeavesItWholeAndNoTemporaryFile) {
    const std::string old = serializeActionList({record(kindCreate, "c:\\old.txt")});
    writeFile(listPath, old);
    HANDLE holder = CreateFileA(listPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    actionList = history();
    EXPECT_FALSE(saveActionList());
    CloseHandle(holder);
    EXPECT_EQ(readFile(listPath), old);
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});
}

TEST_F(ActionListFile, ASaveWaitsOutAProgramThatIsReadingTheOldFileForAMoment) {
    writeFile(listPath, serializeActionList({record(kindCreate, "c:\\old.txt")}));
    HANDLE reader = CreateFileA(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    auto readerDone = std::async(std::launch::async, [reader] {
        Sleep(200);
        CloseHandle(reader);
    });
    actionList = history();
    EXPECT_TRUE(saveActionList());
    readerDone.get();
    EXPECT_EQ(readFile(listPath), serializeActionList(history()));
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"});
}

TEST_F(ActionListFile, ASaveWhoseNewFileCannotBeWrittenLeavesTheOldFileAsItWas) {
    const std::string old = serializeActionList({record(kindCreate, "c:\\old.txt")});
    writeFile(listPath, old);
    const std::string temporary = folder + "\\actionlist.000.new";
    CreateDirectoryA(temporary.c_str(), nullptr);  // in the way of the new file
    actionList = history();
    EXPECT_FALSE(saveActionList());
    RemoveDirectoryA(temporary.c_str());
    EXPECT_EQ(readFile(listPath), old);
}

// A save that a later one replaces gives up wherever it is asked: while the
// list is made or while it is written. Until it gets through, the old file
// stays as it was and no temporary file is left.
TEST_F(ActionListFile, ASaveGivenUpAtAnyAskLeavesTheOldFileAsItWas) {
    const std::string old = serializeActionList({record(kindCreate, "c:\\old.txt")});
    const std::vector<ActionRecord> pattern = history();
    std::vector<ActionRecord> longList;
    for (size_t index = 0; index < 40'000; ++index) longList.push_back(pattern[index % pattern.size()]);
    bool written = false;
    for (int givingUpAt = 1; !written && givingUpAt < 100; ++givingUpAt) {
        writeFile(listPath, old);
        ASSERT_EQ(loadActionList(), ActionListLoad::Loaded);
        actionList = longList;
        int asks = 0;
        written = writeActionList([&] { return ++asks == givingUpAt; });
        if (!written) {
            EXPECT_EQ(asks, givingUpAt);
            EXPECT_EQ(readFile(listPath), old) << "given up at ask " << givingUpAt;
            EXPECT_EQ(filesIn(folder), std::set<std::string>{"actionlist.000"}) << "given up at ask " << givingUpAt;
        } else {
            // Three asks while the 40,000 records are made, one while they are written.
            EXPECT_EQ(givingUpAt, 5);
        }
    }
    ASSERT_TRUE(written);
    EXPECT_EQ(readFile(listPath), serializeActionList(longList));
}

TEST_F(ActionListFile, ASaveStruckAtAnyCallLeavesTheOldListOrTheNewOneLoadable) {
    const std::vector<ActionRecord> oldList = {history()[0], history()[1]};
    std::vector<ActionRecord> newList = history();
    newList[2].setUndone(0);  // every record comes back from a load
    runFaultMatrix(
        "saving actionlist.000",
        [&] {
            actionList = oldList;
            ASSERT_TRUE(saveActionList());
            actionList = newList;
        },
        [] { writeActionList(); },
        [&] {
            ASSERT_EQ(loadActionList(), ActionListLoad::Loaded);
            std::string loaded = serializeActionList(actionList);
            EXPECT_TRUE(loaded == serializeActionList(oldList) || loaded == serializeActionList(newList));
            EXPECT_EQ(filesIn(folder).count("BACKUP actionlist.000"), 0u);
        },
        {Fault::Cut, Fault::DiskFull, Fault::FailOne, Fault::LieOne});
}
