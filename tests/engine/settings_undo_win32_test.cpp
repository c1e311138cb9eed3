// Settings undo against real settings files and the real registry.

#include "engine/settings_undo_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "database/action_list.h"
#include "monitor/saved_copy.h"
#include "tests/database/record_builder.h"
#include "tests/support/scratch_folder_win32.h"
#include "tests/support/settings_key_win32.h"

using namespace std::string_literals;

namespace {

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

// A folder of its own for each test: the profile interface caches files by
// name, so no two tests share one.
class SettingsFileUndo : public testing::Test {
protected:
    SettingsFileUndo()
        : folder_("Retrace Settings Undo Test " +
                  std::string(testing::UnitTest::GetInstance()->current_test_info()->name())) {}
    // The saved copies lie in the Undo Bin, the only place they are read from.
    void SetUp() override {
        actionList.clear();
        useUndoBin(folder_.path());
    }
    void TearDown() override {
        actionList.clear();
        installDefaultSettingsKey();
    }

    std::string pathOf(const std::string& name) const { return folder_ / name; }
    static std::string savedCopyName(int index) { return std::to_string(index) + ".000"; }

    std::string put(const std::string& name, const std::string& bytes) const {
        std::string path = pathOf(name);
        putFile(path, bytes);
        return path;
    }

    // Appends a Modify of `file` whose saved copy holds `earlierText`.
    int appendChange(const char* program, const std::string& file, const std::string& earlierText) {
        std::string savedCopy = put(savedCopyName(actionCount()), encodeSavedCopy(earlierText));
        return appendChangeWithCopy(program, file, savedCopy);
    }
    int appendChangeWithCopy(const char* program, const std::string& file, const std::string& savedCopy) {
        ActionRecord record = RecordBuilder(program, 40, kindModify).paths(file);
        record.dataC = savedCopy;
        record.setIsIniFile(1);
        record.setIsExplorer(std::string(program) == "explorer");
        actionList.push_back(record);
        return actionCount() - 1;
    }

    // Undoes as undoAction does: marked undone first.
    static void undo(int index) {
        actionList[size_t(index)].setUndone(1);
        undoSettingsFile(index);
    }

    static std::string entry(const std::string& file, const char* section, const char* key) {
        char value[256];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
        return value;
    }

private:
    ScratchFolder folder_;
};

}  // namespace

TEST_F(SettingsFileUndo, BringsBackChangedAndRemovedEntriesEmptiesAddedOnesAndLeavesCommentsOut) {
    std::string ini = put("acme.ini", "[Acme]\r\nx=9\r\ny=2\r\nnew=5\r\n[Added]\r\nc=1\r\n");
    undo(appendChange("writer", ini, "top=1\r\n[Acme]\r\n;note=1\r\nx=1\r\ny=2\r\n[Gone]\r\nz=3\r\n"));
    std::string after = contentOf(ini);
    EXPECT_EQ(entry(ini, "Acme", "x"), "1");
    EXPECT_EQ(entry(ini, "Acme", "y"), "2");
    EXPECT_EQ(entry(ini, "Acme", "new"), "");  // present, emptied
    EXPECT_EQ(entry(ini, "Gone", "z"), "3");
    EXPECT_EQ(entry(ini, "Added", "c"), "");
    EXPECT_EQ(occurrences(after, "[Added]"), 1u) << after;
    EXPECT_EQ(after.find("top"), std::string::npos) << after;
    EXPECT_EQ(after.find("note"), std::string::npos) << after;
}

TEST_F(SettingsFileUndo, RestoresOntoTheEntryThatIsThereWhateverItsCaseAndBlanks) {
    std::string ini = put("fonts.ini", "[FONTS]\r\nFONT = Arial\r\n");
    undo(appendChange("writer", ini, "[Fonts]\r\n  Font = Courier New \r\n"));
    std::string after = contentOf(ini);
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
    EXPECT_EQ(contentOf(ini), text);
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

TEST_F(SettingsFileUndo, TheLaterTextIsTheNextProgramsCopyOrElseTheFileAsItIsNow) {
    std::string ini = put("win.ini", "now");
    int index = appendChange("writer", ini, "before");
    appendChange("msgsrv32", ini, "by msgsrv32");
    appendChange("explorer", ini, "by explorer");
    appendChange("writer", pathOf("other.ini"), "other");
    EXPECT_EQ(laterFileContent(index), "now");
    int later = appendChange("sheet", ini, "after");
    EXPECT_EQ(laterFileContent(index), "after");
    std::string damaged = encodeSavedCopy("after");
    damaged.pop_back();
    put(savedCopyName(later), damaged);
    EXPECT_EQ(laterFileContent(index), "");
    DeleteFileA(ini.c_str());
    EXPECT_EQ(laterFileContent(later), "");
}

TEST_F(SettingsFileUndo, AMissingOrDamagedEarlierCopyLeavesTheFileAlone) {
    std::string text = "[Acme]\r\nx=2\r\n";
    std::string ini = put("acme.ini", text);
    std::string damaged = encodeSavedCopy("[Acme]\r\nx=1\r\n");
    damaged.pop_back();
    undo(appendChangeWithCopy("writer", ini, pathOf("missing.000")));
    undo(appendChangeWithCopy("writer", ini, put("damaged.000", damaged)));
    EXPECT_EQ(contentOf(ini), text);
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
    EXPECT_EQ(contentOf(ini), text);
}

namespace {

const char* const kTestKey = "Software\\Retrace Settings Undo Test";
const std::string kTestPath = "hkcu\\software\\retrace settings undo test";

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
    ASSERT_EQ(RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
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

TEST_F(RegistryActionUndo, WritesTheEarlierValueBackWithItsTypeAndEveryByteCreatingTheKey) {
    struct { int32_t kind; const char* below; RegistryValue value; int32_t sizeA; } cases[] = {
        {10, "", {REG_SZ, "Courier New\0"s}, 12},
        {10, "", {REG_DWORD, "\x01\0\0\0"s}, 4},
        {12, "", {REG_BINARY, "\0\x01\0\0\x02\0"s}, 6},
        {10, "", {REG_DWORD, "\x64\0\0\0"s}, 100},  // never past the record's data
        {12, "\\made\\deeper", {REG_SZ, "Sam\0"s}, 4},
    };
    for (auto& c : cases) {
        std::string key = std::string(kTestKey) + c.below;
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, "Value", REG_SZ, "later", 6), ERROR_SUCCESS);
        int index = append(c.kind, kTestPath + c.below + "\\Value", c.value.data, c.value.type);
        actionList[size_t(index)].sizeA = c.sizeA;
        undoRegistryAction(index);
        EXPECT_EQ(queryValue(HKEY_CURRENT_USER, key, "Value"), c.value) << testing::PrintToString(c.value.data);
    }
}

// The value did not exist before the change: it goes, rather than stay
// behind empty (a zero-length DWORD would even read back as garbage).
TEST_F(RegistryActionUndo, ANewValueIsDeletedAndItsKeyStays) {
    for (DWORD type : {DWORD(REG_SZ), DWORD(REG_DWORD)}) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kTestKey, "Value", REG_SZ, "later", 6), ERROR_SUCCESS);
        undoRegistryAction(append(11, kTestPath + "\\Value", "", type));
        EXPECT_EQ(queryValue(HKEY_CURRENT_USER, kTestKey, "Value"), std::nullopt) << type;
        EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kTestKey));
    }
    // Gone already, or its key with it: nothing to do, nothing made.
    undoRegistryAction(append(11, kTestPath + "\\missing\\Value"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, std::string(kTestKey) + "\\missing"));
}

TEST_F(RegistryActionUndo, KeyKindsDeleteTheKeyBeforeTheClosingBackslashButNotOneHoldingKeys) {
    std::string made = std::string(kTestKey) + "\\made";
    for (int32_t kind : {13, 14}) {
        makeKey(HKEY_CURRENT_USER, made);
        undoRegistryAction(append(kind, kTestPath + "\\made\\"));
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, made)) << kind;
        EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kTestKey)) << kind;
    }
    makeKey(HKEY_CURRENT_USER, made + "\\inner");
    undoRegistryAction(append(13, kTestPath + "\\made\\"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, made + "\\inner"));
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
    for (const char* path : {"hkcux\\software\\retrace settings undo test\\v",
                             "hkc\\software\\retrace settings undo test\\v",
                             "hkcu.software\\retrace settings undo test\\v"})
        undoRegistryAction(append(10, path, "x\0"s));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kTestKey));

    std::optional<RegistryValue> rootDefault = queryValue(HKEY_CURRENT_USER, "", "");
    for (const char* path : {"hkcu\\", "hkcu"}) undoRegistryAction(append(10, path, "x\0"s));
    EXPECT_EQ(queryValue(HKEY_CURRENT_USER, "", ""), rootDefault);
}
