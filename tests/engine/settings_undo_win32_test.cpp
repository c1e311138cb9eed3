// Settings undo against real settings files and the real registry.

#include "engine/settings_undo_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "browse/file_operations_win32.h"
#include "database/action_list.h"
#include "engine/saved_copy.h"
#include "tests/database/record_builder.h"

using namespace std::string_literals;

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

// A folder of its own for each test: the profile interface caches files by
// name, so no two tests share one.
class SettingsFileUndo : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        parent_ = std::string(temp) + "Retrace Settings Undo Test";
        folder_ = parent_ + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(parent_.c_str(), nullptr);
        CreateDirectoryA(folder_.c_str(), nullptr);
        actionList.clear();
    }
    void TearDown() override {
        for (const std::string& name : filesIn(folder_)) DeleteFileA(pathOf(name).c_str());
        RemoveDirectoryA(folder_.c_str());
        RemoveDirectoryA(parent_.c_str());
        actionList.clear();
    }

    std::string pathOf(const std::string& name) const { return folder_ + "\\" + name; }

    std::string put(const std::string& name, const std::string& bytes) const {
        std::string path = pathOf(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return path;
    }

    // Appends a Modify of `file` whose saved copy holds `earlierText`.
    int appendChange(const char* program, const std::string& file, const std::string& earlierText) {
        std::string savedCopy = put(std::to_string(actionCount()) + ".000", encodeSavedCopy(earlierText));
        return appendChangeWithCopy(program, file, savedCopy);
    }
    int appendChangeWithCopy(const char* program, const std::string& file, const std::string& savedCopy) {
        ActionRecord record = RecordBuilder(program, 40, kindModify).paths(file);
        record.dataC = savedCopy;
        record.isIniFile = 1;
        record.isExplorer = std::string(program) == "explorer";
        actionList.push_back(record);
        return actionCount() - 1;
    }

    // Undoes as undoAction does: marked undone first.
    static void undo(int index) {
        actionList[size_t(index)].undone = 1;
        undoSettingsFile(index);
    }

    static std::string entry(const std::string& file, const char* section, const char* key) {
        char value[256];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
        return value;
    }

private:
    std::string parent_;
    std::string folder_;
};

}  // namespace

TEST_F(SettingsFileUndo, BringsBackChangedAndRemovedEntriesAndEmptiesAddedOnes) {
    std::string ini = put("acme.ini", "[Acme]\r\nx=9\r\ny=2\r\nnew=5\r\n[Added]\r\nc=1\r\n");
    undo(appendChange("writer", ini, "[Acme]\r\nx=1\r\ny=2\r\n[Gone]\r\nz=3\r\n"));
    EXPECT_EQ(entry(ini, "Acme", "x"), "1");
    EXPECT_EQ(entry(ini, "Acme", "y"), "2");
    EXPECT_EQ(entry(ini, "Acme", "new"), "");  // present, emptied
    EXPECT_EQ(entry(ini, "Gone", "z"), "3");
    EXPECT_EQ(entry(ini, "Added", "c"), "");
    EXPECT_EQ(occurrences(bytesOf(ini), "[Added]"), 1u);
}

TEST_F(SettingsFileUndo, NeverWritesBackCommentsOrLinesBeforeTheFirstHeader) {
    std::string ini = put("acme.ini", "[Acme]\r\nx=2\r\n");
    undo(appendChange("writer", ini, "top=1\r\n[Acme]\r\n;note=1\r\nx=1\r\n"));
    std::string after = bytesOf(ini);
    EXPECT_EQ(entry(ini, "Acme", "x"), "1");
    EXPECT_EQ(after.find("top"), std::string::npos) << after;
    EXPECT_EQ(after.find("note"), std::string::npos) << after;
}

TEST_F(SettingsFileUndo, RestoresOntoTheEntryThatIsThereWhateverItsCaseAndBlanks) {
    std::string ini = put("fonts.ini", "[FONTS]\r\nFONT = Arial\r\n");
    undo(appendChange("writer", ini, "[Fonts]\r\n  Font = Courier New \r\n"));
    std::string after = bytesOf(ini);
    EXPECT_EQ(entry(ini, "Fonts", "Font"), "Courier New");
    EXPECT_EQ(occurrences(after, "["), 1u) << after;
    EXPECT_EQ(occurrences(after, "="), 1u) << after;
}

TEST_F(SettingsFileUndo, IdenticalTextsLeaveTheFileUntouched) {
    // A section given twice makes the diff of a text with itself write
    // entries, so only the comparison of the texts keeps the file as it is.
    std::string text = "[Acme]\r\nk = 1\r\n[acme]\r\nk=2\r\n";
    std::string ini = put("acme.ini", text);
    HANDLE file = CreateFileA(ini.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME old{0x5E7A4000u, 0x01C0F5A1u};  // 2001
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
    CloseHandle(file);

    undo(appendChange("writer", ini, text));
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(ini.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(CompareFileTime(&attributes.ftLastWriteTime, &old), 0);
    EXPECT_EQ(bytesOf(ini), text);
}

TEST_F(SettingsFileUndo, RestoresAFileWrittenWithBareLineFeeds) {
    std::string ini = put("unix.ini", "[Acme]\nx=5\ny=2\n");
    undo(appendChange("writer", ini, "[Acme]\nx=1\ny=2\n"));
    EXPECT_EQ(entry(ini, "Acme", "x"), "1");
    EXPECT_EQ(entry(ini, "Acme", "y"), "2");
}

TEST_F(SettingsFileUndo, TwoChangesUndoneNewestFirstGiveTheOldestStateAndKeepALaterProgramsChange) {
    // The profile interface maps some sections of any win.ini to the
    // registry; these two stay in the file.
    std::string s0 = "[Acme]\r\nx=0\r\ny=0\r\n[Mail]\r\nm=0\r\n";
    std::string s1 = "[Acme]\r\nx=1\r\ny=0\r\n[Mail]\r\nm=0\r\n";
    std::string s2 = "[Acme]\r\nx=1\r\ny=1\r\n[Mail]\r\nm=0\r\n[Recent]\r\nr=1\r\n";
    std::string ini = put("win.ini", "[Acme]\r\nx=1\r\ny=1\r\n[Mail]\r\nm=1\r\n[Recent]\r\nr=1\r\n");
    int first = appendChange("writer", ini, s0);
    int second = appendChange("writer", ini, s1);
    appendChange("sheet", ini, s2);  // another program's change, not undone

    undo(second);
    EXPECT_EQ(entry(ini, "Acme", "x"), "1");
    EXPECT_EQ(entry(ini, "Acme", "y"), "0");
    EXPECT_EQ(entry(ini, "Recent", "r"), "");
    undo(first);
    EXPECT_EQ(entry(ini, "Acme", "x"), "0");
    EXPECT_EQ(entry(ini, "Acme", "y"), "0");
    EXPECT_EQ(entry(ini, "Mail", "m"), "1");
    EXPECT_EQ(entry(ini, "Recent", "r"), "");
}

TEST_F(SettingsFileUndo, TheLaterTextPassesOverMsgsrv32AndExplorer) {
    std::string ini = put("win.ini", "now");
    int index = appendChange("writer", ini, "before");
    appendChange("msgsrv32", ini, "by msgsrv32");
    appendChange("explorer", ini, "by explorer");
    appendChange("sheet", ini, "after");
    EXPECT_EQ(laterFileContent(index), "after");
}

TEST_F(SettingsFileUndo, ADamagedLaterCopyGivesAnEmptyLaterText) {
    std::string ini = put("win.ini", "now");
    int index = appendChange("writer", ini, "before");
    std::string damaged = encodeSavedCopy("after");
    damaged.pop_back();
    appendChangeWithCopy("sheet", ini, put("damaged.000", damaged));
    EXPECT_EQ(laterFileContent(index), "");
}

TEST_F(SettingsFileUndo, WithoutALaterChangeTheLaterTextIsTheFileAsItIsNow) {
    std::string ini = put("win.ini", "[Acme]\r\nx=1\r\n");
    int index = appendChange("writer", ini, "before");
    appendChange("writer", pathOf("other.ini"), "other");
    EXPECT_EQ(laterFileContent(index), "[Acme]\r\nx=1\r\n");
    DeleteFileA(ini.c_str());
    EXPECT_EQ(laterFileContent(index), "");
}

TEST_F(SettingsFileUndo, AMissingOrDamagedEarlierCopyLeavesTheFileAlone) {
    std::string text = "[Acme]\r\nx=2\r\n";
    std::string ini = put("acme.ini", text);
    std::string damaged = encodeSavedCopy("[Acme]\r\nx=1\r\n");
    damaged.pop_back();
    undo(appendChangeWithCopy("writer", ini, pathOf("missing.000")));
    undo(appendChangeWithCopy("writer", ini, put("damaged.000", damaged)));
    EXPECT_EQ(bytesOf(ini), text);
}

TEST_F(SettingsFileUndo, AnEmptyEarlierCopyEmptiesEveryEntry) {
    std::string ini = put("acme.ini", "[Acme]\r\nx=2\r\n");
    undo(appendChange("writer", ini, ""));
    EXPECT_EQ(entry(ini, "Acme", "x"), "");
}

TEST_F(SettingsFileUndo, AnIndexOutsideTheListDoesNothing) {
    std::string text = "[Acme]\r\nx=2\r\n";
    std::string ini = put("acme.ini", text);
    undoSettingsFile(-1);
    undoSettingsFile(0);
    undoRegistryAction(-1);
    undoRegistryAction(0);
    EXPECT_EQ(laterFileContent(0), "");
    EXPECT_EQ(bytesOf(ini), text);
}

namespace {

const char* const kTestKey = "Software\\Retrace Settings Undo Test";
const std::string kTestPath = "hkcu\\software\\retrace settings undo test\\";

struct RegistryValue {
    DWORD type = 0;
    std::string data;
    bool operator==(const RegistryValue&) const = default;
};

void PrintTo(const RegistryValue& value, std::ostream* out) {
    *out << "type " << value.type << ", " << testing::PrintToString(value.data);
}

std::optional<RegistryValue> queryValue(HKEY root, const std::string& subkey, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool keyExists(HKEY root, const std::string& subkey) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void makeKey(HKEY root, const std::string& subkey) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

class RegistryActionUndo : public testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }
    static void clean() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteTreeA(HKEY_USERS, (std::string(".DEFAULT\\") + kTestKey).c_str());
        actionList.clear();
    }

    static int append(int32_t kind, const std::string& path, const std::string& data = {}, DWORD type = REG_SZ) {
        ActionRecord record = RecordBuilder("editor", 9, kind);
        record.dataC = path;
        record.dataA = data;
        record.sizeA = int32_t(data.size());
        record.valueType = int32_t(type);
        actionList.push_back(record);
        return actionCount() - 1;
    }
};

}  // namespace

TEST_F(RegistryActionUndo, WritesTheEarlierValueBackWithItsTypeAndEveryByte) {
    struct { int32_t kind; const char* name; RegistryValue value; } cases[] = {
        {10, "Font", {REG_SZ, "Courier New\0"s}},
        {10, "Zoom", {REG_DWORD, "\x01\0\0\0"s}},
        {12, "Layout", {REG_BINARY, "\0\x01\0\0\x02\0"s}},
        {11, "Added", {REG_SZ, ""}},  // a new value goes back to the empty data it had
    };
    makeKey(HKEY_CURRENT_USER, kTestKey);
    for (auto& c : cases) {
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
        RegSetValueExA(key, c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>("later"), 6);
        RegCloseKey(key);
        undoRegistryAction(append(c.kind, kTestPath + c.name, c.value.data, c.value.type));
        EXPECT_EQ(queryValue(HKEY_CURRENT_USER, kTestKey, c.name), c.value) << c.name;
    }
}

TEST_F(RegistryActionUndo, NeverWritesMoreThanTheRecordsData) {
    int index = append(10, kTestPath + "Zoom", "\x64\0\0\0"s, REG_DWORD);
    actionList[size_t(index)].sizeA = 100;
    undoRegistryAction(index);
    EXPECT_EQ(queryValue(HKEY_CURRENT_USER, kTestKey, "Zoom"), (RegistryValue{REG_DWORD, "\x64\0\0\0"s}));
}

TEST_F(RegistryActionUndo, CreatesAMissingKeyForTheValue) {
    undoRegistryAction(append(12, kTestPath + "made\\deeper\\Name", "Sam\0"s));
    EXPECT_EQ(queryValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\made\\deeper", "Name"),
              (RegistryValue{REG_SZ, "Sam\0"s}));
}

TEST_F(RegistryActionUndo, KeyKindsDeleteTheKeyBeforeTheClosingBackslash) {
    std::string made = std::string(kTestKey) + "\\made";
    for (int32_t kind : {13, 14}) {
        makeKey(HKEY_CURRENT_USER, made);
        undoRegistryAction(append(kind, kTestPath + "made\\"));
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, made)) << kind;
        EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kTestKey)) << kind;
    }
}

TEST_F(RegistryActionUndo, AKeyThatHoldsAKeyOfItsOwnStays) {
    std::string inner = std::string(kTestKey) + "\\made\\inner";
    makeKey(HKEY_CURRENT_USER, inner);
    undoRegistryAction(append(13, kTestPath + "made\\"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, inner));
}

TEST_F(RegistryActionUndo, WorksUnderHkeyUsers) {
    std::string key = std::string(".DEFAULT\\") + kTestKey;
    std::string path = "hku\\.default\\software\\retrace settings undo test\\";
    undoRegistryAction(append(10, path + "Font", "Arial\0"s));
    EXPECT_EQ(queryValue(HKEY_USERS, key, "Font"), (RegistryValue{REG_SZ, "Arial\0"s}));
    makeKey(HKEY_USERS, key + "\\made");
    undoRegistryAction(append(13, path + "made\\"));
    EXPECT_FALSE(keyExists(HKEY_USERS, key + "\\made"));
}

TEST_F(RegistryActionUndo, UnknownRootsAndPathsTooShortChangeNothing) {
    for (const char* path : {"hkcux\\software\\retrace settings undo test\\v", "hkc\\software\\retrace settings undo test\\v",
                             "hkcu.software\\retrace settings undo test\\v"})
        undoRegistryAction(append(10, path, "x\0"s));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kTestKey));

    std::optional<RegistryValue> rootDefault = queryValue(HKEY_CURRENT_USER, "", "");
    for (const char* path : {"hkcu\\", "hkcu"}) undoRegistryAction(append(10, path, "x\0"s));
    EXPECT_EQ(queryValue(HKEY_CURRENT_USER, "", ""), rootDefault);
}
