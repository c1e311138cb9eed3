#include "engine/registry_path.h"

#include <gtest/gtest.h>

#include "tests/database/record_builder.h"

using namespace std::string_literals;

TEST(SplitKeyPath, TakesTheRootBeforeTheFirstBackslashAndTheValueNameAfterTheLast) {
    struct { const char* path; KeyRoot root; const char* subkey; const char* valueName; } cases[] = {
        {"hkcu\\software\\acme\\editor\\font", KeyRoot::CurrentUser, "software\\acme\\editor", "font"},
        {"HKCU\\Software\\Acme\\Font", KeyRoot::CurrentUser, "Software\\Acme", "Font"},
        {"hkcr\\.txt\\", KeyRoot::ClassesRoot, ".txt", ""},  // the key's default value
        {"hklm\\software\\acme\\size", KeyRoot::LocalMachine, "software\\acme", "size"},
        {"hku\\.default\\software\\acme\\v", KeyRoot::Users, ".default\\software\\acme", "v"},
        {"Hku\\.default\\v", KeyRoot::Users, ".default", "v"},
        {"hkcc\\system\\v", KeyRoot::CurrentConfig, "system", "v"},
        {"hkdd\\perfstats\\v", KeyRoot::DynData, "perfstats", "v"},
        {"hkcu\\font", KeyRoot::CurrentUser, "", "font"},  // a value of the root key itself
    };
    for (auto& c : cases) {
        std::optional<KeyPath> path = splitKeyPath(c.path);
        ASSERT_TRUE(path.has_value()) << c.path;
        EXPECT_EQ(path->root, c.root) << c.path;
        EXPECT_EQ(path->subkey, c.subkey) << c.path;
        EXPECT_EQ(path->valueName, c.valueName) << c.path;
    }
    for (const char* path : {"", "h", "hkcu", "hkcu\\", "\\", "\\hkcu\\a\\b", "hkcux\\a\\b", "hkc\\a\\b", "xkcu\\a\\b",
                             " hkcu\\a\\b", "hkey_current_user\\a\\b", "hkcu/a/b"})
        EXPECT_EQ(splitKeyPath(path), std::nullopt) << path;
}

namespace {

ActionRecord registryRecord(int32_t kind, std::string path, std::string data = "x", int32_t sizeA = 1) {
    ActionRecord record = RecordBuilder("editor", 7, kind);
    record.dataC = std::move(path);
    record.dataA = std::move(data);
    record.sizeA = sizeA;
    record.valueType = 4;
    return record;
}

}  // namespace

TEST(RegistryUndoOf, ValueKindsSetTheEarlierDataButNeverMoreThanTheRecordHolds) {
    struct { int32_t kind; std::string data; int32_t sizeA; std::string written; } cases[] = {
        {10, "\x64\0\0\0"s, 4, "\x64\0\0\0"s},
        {12, "Courier\0"s, 8, "Courier\0"s},
        {12, "\0\1\0\2\0"s, 5, "\0\1\0\2\0"s},
        {10, "abcd", 2, "ab"},
        {10, "abcd", 10, "abcd"},  // never read past the data
        {10, "abcd", -1, ""},
        {10, "", 4, ""},
    };
    for (auto& c : cases) {
        ActionRecord record = registryRecord(c.kind, "hkcu\\software\\acme\\zoom", c.data, c.sizeA);
        std::optional<RegistryUndo> undo = registryUndoOf(record);
        ASSERT_TRUE(undo.has_value()) << c.kind;
        EXPECT_EQ(undo->action, RegistryUndo::Action::SetValue);
        EXPECT_EQ(undo->path.subkey, "software\\acme");
        EXPECT_EQ(undo->path.valueName, "zoom");
        EXPECT_EQ(undo->data, c.written) << testing::PrintToString(c.data) << " sizeA " << c.sizeA;
        EXPECT_EQ(undo->valueType, 4u);
    }
}

// A value the change made did not exist before: its undo takes it away
// rather than leave it behind with its empty earlier data.
TEST(RegistryUndoOf, ANewValueIsDeleted) {
    for (const std::string& earlier : {""s, "stale"s}) {
        std::optional<RegistryUndo> undo =
            registryUndoOf(registryRecord(11, "hkcu\\software\\acme\\zoom", earlier, int32_t(earlier.size())));
        ASSERT_TRUE(undo.has_value());
        EXPECT_EQ(undo->action, RegistryUndo::Action::DeleteValue);
        EXPECT_EQ(undo->path.subkey, "software\\acme");
        EXPECT_EQ(undo->path.valueName, "zoom");
    }
}

TEST(RegistryUndoOf, KeyKindsDeleteTheKeyNamedUpToTheLastBackslash) {
    struct { int32_t kind; const char* path; KeyRoot root; const char* key; } cases[] = {
        {13, "hkcu\\software\\acme\\editor\\", KeyRoot::CurrentUser, "software\\acme\\editor"},
        {14, "hkcu\\software\\acme\\editor\\", KeyRoot::CurrentUser, "software\\acme\\editor"},
        {13, "hku\\.default\\acme\\", KeyRoot::Users, ".default\\acme"},
    };
    for (auto& c : cases) {
        std::optional<RegistryUndo> undo = registryUndoOf(registryRecord(c.kind, c.path));
        ASSERT_TRUE(undo.has_value()) << c.path;
        EXPECT_EQ(undo->action, RegistryUndo::Action::DeleteKey);
        EXPECT_EQ(undo->path.root, c.root);
        EXPECT_EQ(undo->path.subkey, c.key);
    }
}

TEST(RegistryUndoOf, DoesNothingForOtherKindsBadPathsOrARootKey) {
    struct { int32_t kind; const char* path; } cases[] = {
        {0, "hkcu\\a\\v"},    {4, "hkcu\\a\\v"},    {9, "hkcu\\a\\v"}, {15, "hkcu\\a\\v"}, {-10, "hkcu\\a\\v"},
        {10, "hkzz\\a\\v"},   {10, "hkcu"},         {10, "hkcu\\"},    {11, ""},           {13, "hkcu\\"},
        {13, "hkcu\\editor"}, {14, "hkxx\\a\\b\\"},
    };
    for (auto& c : cases)
        EXPECT_EQ(registryUndoOf(registryRecord(c.kind, c.path)), std::nullopt) << c.kind << " " << c.path;
}
