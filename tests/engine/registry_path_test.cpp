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
        {"hkcu\\software\\acme\\editor\\", KeyRoot::CurrentUser, "software\\acme\\editor", ""},
        {"hkcu\\font", KeyRoot::CurrentUser, "", "font"},  // a value of the root key itself
    };
    for (auto& c : cases) {
        std::optional<KeyPath> path = splitKeyPath(c.path);
        ASSERT_TRUE(path.has_value()) << c.path;
        EXPECT_EQ(path->root, c.root) << c.path;
        EXPECT_EQ(path->subkey, c.subkey) << c.path;
        EXPECT_EQ(path->valueName, c.valueName) << c.path;
    }
}

TEST(SplitKeyPath, RefusesUnknownRootsAndPathsTooShortToNameAValue) {
    for (const char* path : {"", "h", "hkcu", "hkcu\\", "\\", "\\hkcu\\a\\b", "hkcux\\a\\b", "hkc\\a\\b", "xkcu\\a\\b",
                             "hkus\\a\\b", " hkcu\\a\\b", "hkey_current_user\\a\\b", "hkcu/a/b"})
        EXPECT_EQ(splitKeyPath(path), std::nullopt) << path;
}

namespace {

ActionRecord registryRecord(int32_t kind, std::string path, std::string data = {}, int32_t sizeA = 0,
                            int32_t valueType = 1) {
    ActionRecord record = RecordBuilder("editor", 7, kind);
    record.dataC = std::move(path);
    record.dataA = std::move(data);
    record.sizeA = sizeA;
    record.valueType = valueType;
    return record;
}

}  // namespace

TEST(RegistryUndoOf, ValueKindsSetTheEarlierDataWithItsType) {
    for (int32_t kind : {10, 11, 12}) {
        ActionRecord record = registryRecord(kind, "hkcu\\software\\acme\\zoom", "\x64\0\0\0"s, 4, 4);
        std::optional<RegistryUndo> undo = registryUndoOf(record);
        ASSERT_TRUE(undo.has_value()) << kind;
        EXPECT_EQ(undo->action, RegistryUndo::Action::SetValue);
        EXPECT_EQ(undo->path.root, KeyRoot::CurrentUser);
        EXPECT_EQ(undo->path.subkey, "software\\acme");
        EXPECT_EQ(undo->path.valueName, "zoom");
        EXPECT_EQ(undo->data, "\x64\0\0\0"s);
        EXPECT_EQ(undo->valueType, 4u);
    }
}

TEST(RegistryUndoOf, NeverTakesMoreDataThanTheRecordHolds) {
    struct { std::string data; int32_t sizeA; std::string written; } cases[] = {
        {"Courier\0"s, 8, "Courier\0"s}, {"\0\1\0\2\0"s, 5, "\0\1\0\2\0"s}, {"abcd", 2, "ab"},
        {"abcd", 10, "abcd"},            {"abcd", -1, ""},                  {"abcd", 0, ""},
        {"", 4, ""},                     {"", 0, ""},
    };
    for (auto& c : cases) {
        std::optional<RegistryUndo> undo = registryUndoOf(registryRecord(10, "hkcu\\a\\v", c.data, c.sizeA));
        ASSERT_TRUE(undo.has_value());
        EXPECT_EQ(undo->data, c.written) << testing::PrintToString(c.data) << " sizeA " << c.sizeA;
    }
}

TEST(RegistryUndoOf, KeyKindsDeleteTheKeyNamedUpToTheLastBackslash) {
    for (int32_t kind : {13, 14}) {
        std::optional<RegistryUndo> undo = registryUndoOf(registryRecord(kind, "hkcu\\software\\acme\\editor\\"));
        ASSERT_TRUE(undo.has_value()) << kind;
        EXPECT_EQ(undo->action, RegistryUndo::Action::DeleteKey);
        EXPECT_EQ(undo->path.root, KeyRoot::CurrentUser);
        EXPECT_EQ(undo->path.subkey, "software\\acme\\editor");
    }
    std::optional<RegistryUndo> users = registryUndoOf(registryRecord(13, "hku\\.default\\acme\\"));
    ASSERT_TRUE(users.has_value());
    EXPECT_EQ(users->path.root, KeyRoot::Users);
    EXPECT_EQ(users->path.subkey, ".default\\acme");
}

TEST(RegistryUndoOf, DoesNothingForOtherKindsBadPathsOrARootKey) {
    struct { int32_t kind; const char* path; } cases[] = {
        {0, "hkcu\\a\\v"},     {4, "hkcu\\a\\v"},     {9, "hkcu\\a\\v"},     {15, "hkcu\\a\\v"},
        {-10, "hkcu\\a\\v"},   {10, "hkzz\\a\\v"},    {10, "hkcu"},          {10, "hkcu\\"},
        {13, "hkcu\\"},        {13, "hkcu\\editor"},  {14, "hkcu\\"},        {14, "hklm"},
        {14, "hkxx\\a\\b\\"},  {11, ""},
    };
    for (auto& c : cases) EXPECT_EQ(registryUndoOf(registryRecord(c.kind, c.path, "x", 1)), std::nullopt) << c.kind << " " << c.path;
}
