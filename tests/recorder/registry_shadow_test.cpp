#include "recorder/registry_shadow.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "base/text.h"
#include "engine/registry_path.h"
#include "monitor/registry_report.h"

namespace {

// A registry as tests hold it: key paths to their values by name.
using Values = std::map<std::string, std::pair<uint32_t, std::string>>;
using Registry = std::map<std::string, Values>;

// The whole subtree as the walker would read it, parents first (map order
// puts "a" before "a\b"), every key's values read.
std::vector<KeyReading> readAll(const Registry& registry, uint64_t stamp) {
    std::vector<KeyReading> keys;
    for (auto& [path, values] : registry) {
        KeyReading reading{path, stamp, std::vector<RegistryValue>{}};
        for (auto& [name, value] : values) reading.values->push_back({name, value.first, value.second});
        keys.push_back(std::move(reading));
    }
    return keys;
}

// What Retrace's undo of the changes, newest first, does to the registry.
void undoNewestFirst(const std::vector<RegistryChange>& changes, Registry& registry) {
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        ActionRecord record;
        record.kind = change->kind;
        record.dataA = change->oldData;
        record.sizeA = int32_t(change->oldData.size());
        record.dataC = change->path;
        record.valueType = int32_t(change->valueType);
        auto undo = registryUndoOf(record);
        ASSERT_TRUE(undo);
        std::string key = "HKCU\\" + undo->path.subkey;
        if (undo->action == RegistryUndo::Action::SetValue) {
            for (std::string parent = key; parent.size() > 4; parent = parent.substr(0, parent.rfind('\\')))
                registry[parent];
            registry[key][undo->path.valueName] = {undo->valueType, std::string(undo->data)};
            continue;
        }
        if (undo->action == RegistryUndo::Action::DeleteValue) {
            if (registry.contains(key)) registry[key].erase(undo->path.valueName);
            continue;
        }
        auto child = registry.upper_bound(key);
        bool hasSubkeys = child != registry.end() && child->first.starts_with(key + "\\");
        if (!hasSubkeys) registry.erase(key);  // the system deletes no key that has subkeys
    }
}

}  // namespace

TEST(RegistryShadow, ValueAndKeyChangesCarryTheDataBeforeAndAfterInAnOrderUndoReverses) {
    RegistryShadow shadow;
    Registry before{{"HKCU\\S", {}},
                    {"HKCU\\S\\App", {{"Size", {4, "\x0C\0\0\0"}}, {"Font", {1, "Arial"}}, {"Old", {1, "x"}}}},
                    {"HKCU\\S\\Gone", {{"v", {1, "1"}}}},
                    {"HKCU\\S\\Gone\\Deep", {{"w", {3, "2"}}}}};
    EXPECT_TRUE(shadow.update("HKCU\\S", readAll(before, 1)).empty());  // a first reading has nothing before it

    Registry after = before;
    after["HKCU\\S\\App"] = {{"Size", {4, "\x10\0\0\0"}}, {"Font", {1, "Arial"}}, {"Zoom", {1, "2"}}};
    after.erase("HKCU\\S\\Gone");
    after.erase("HKCU\\S\\Gone\\Deep");
    after["HKCU\\S\\New"] = {{"n", {1, "fresh"}}};
    std::vector<RegistryChange> changes = shadow.update("HKCU\\S", readAll(after, 2));
    const std::vector<RegistryChange> expected{
        // Each found in a key that was read carries the key's write time.
        {kindRegistryChangeValue, "HKCU\\S\\App\\Size", 4, "\x0C\0\0\0", "\x10\0\0\0", 2},
        {kindRegistryNewValue, "HKCU\\S\\App\\Zoom", 1, "", "2", 2},
        {kindRegistryDeleteValue, "HKCU\\S\\App\\Old", 1, "x", "", 2},
        {kindRegistryCreateKey, "HKCU\\S\\New\\", 0, "", "", 2},
        {kindRegistryNewValue, "HKCU\\S\\New\\n", 1, "", "fresh", 2},
        {kindRegistryDeleteValue, "HKCU\\S\\Gone\\Deep\\w", 3, "2", ""},
        {kindRegistryDeleteKey, "HKCU\\S\\Gone\\Deep\\", 0, "", ""},
        {kindRegistryDeleteValue, "HKCU\\S\\Gone\\v", 1, "1", ""},
        {kindRegistryDeleteKey, "HKCU\\S\\Gone\\", 0, "", ""},
    };
    EXPECT_EQ(changes, expected);

    // A key read again without its values is as the shadow holds it.
    std::vector<KeyReading> unchanged = readAll(after, 2);
    for (KeyReading& key : unchanged) {
        EXPECT_FALSE(shadow.needsValues(key.path, key.lastWrite));
        key.values.reset();
    }
    EXPECT_TRUE(shadow.update("HKCU\\S", unchanged).empty());
}

// Random registries changed at random: undoing every change newest first
// gives back the registry exactly as it was.
TEST(RegistryShadow, UndoingNewestFirstPutsBackWhatWasThere) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    auto randomRegistry = [&] {
        Registry registry{{"HKCU\\S", {}}};
        const char* paths[] = {"HKCU\\S\\a", "HKCU\\S\\a\\b", "HKCU\\S\\a\\b\\c", "HKCU\\S\\d", "HKCU\\S\\d\\e"};
        for (const char* path : paths) {
            std::string key = path;
            if (!registry.contains(key.substr(0, key.rfind('\\'))) || pick(3) == 0) continue;
            // A key without values would come back from no undo: undoing
            // its deletion can only write values, which makes their key.
            for (const char* name : {"x", "y", ""})
                if (name[0] == 'x' || pick(2))
                    registry[key][name] = {uint32_t(1 + pick(4)), std::string(size_t(pick(3)), char('0' + pick(9)))};
        }
        return registry;
    };
    for (int round = 0; round < 500; ++round) {
        RegistryShadow shadow;
        Registry before = randomRegistry(), after = randomRegistry();
        shadow.update("HKCU\\S", readAll(before, 1));
        std::vector<RegistryChange> changes = shadow.update("HKCU\\S", readAll(after, 2));

        undoNewestFirst(changes, after);
        ASSERT_EQ(after, before) << "round " << round;
    }
}

TEST(RegistryShadow, RetracesOwnKeysAndTheShellsBusyListsAreLeftOut) {
    EXPECT_TRUE(isLeftOutKey("HKLM\\SOFTWARE\\Tarnwick\\Undo"));
    EXPECT_TRUE(isLeftOutKey("hkcu\\software\\tarnwick\\undo\\Recorder"));
    EXPECT_TRUE(isLeftOutKey("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.txt"));
    EXPECT_FALSE(isLeftOutKey("HKCU\\Software\\Tarnwick\\Undone"));
    EXPECT_FALSE(isLeftOutKey("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"));
}

// The shadow kept at exit and taken back at the next start: the first
// reading then answers what changed meanwhile, with the data from before.
// Any shorter or altered copy of the bytes is refused whole.
// What the watch splits a large subtree by: the keys just below a key and
// how many lie below it, where siblings whose names merely begin alike, or
// sort beside the separator, are no part of it.
TEST(RegistryShadow, TellsTheKeysHeldJustBelowAKeyAndHowManyBelowItInAll) {
    RegistryShadow shadow;
    Registry registry{{"HKCU\\S", {}},           {"HKCU\\S\\App", {}},     {"HKCU\\S\\App\\One", {}},
                      {"HKCU\\S\\App\\One\\Deep", {}}, {"HKCU\\S\\App\\Two", {}}, {"HKCU\\S\\App2", {}},
                      {"HKCU\\S\\App2\\Other", {}}, {"HKCU\\S\\App[", {}},   {"HKCU\\S\\App^", {}}};
    shadow.update("HKCU\\S", readAll(registry, 1));
    EXPECT_EQ(shadow.keysHeldBelow("HKCU\\S\\App"), 3u);
    EXPECT_EQ(shadow.subkeysHeld("HKCU\\S\\App"), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(shadow.keysHeldBelow("hkcu\\s"), 8u);
    EXPECT_EQ(shadow.subkeysHeld("HKCU\\S").size(), 4u);
    EXPECT_EQ(shadow.keysHeldBelow("HKCU\\S\\App\\Two"), 0u);
    EXPECT_EQ(shadow.keysHeldBelow("HKCU\\Missing"), 0u);
}

TEST(RegistryShadow, AKeptShadowAnswersWhatChangedWhileTheRecorderWasAway) {
    RegistryShadow shadow;
    Registry before{{"HKCU\\S", {}},
                    {"HKCU\\S\\App", {{"Size", {4, std::string("\x0C\0\0\0", 4)}}, {"", {1, "default"}}}},
                    {"HKCU\\S\\App\\Sub", {}},
                    {"HKCU\\S\\App\\Sub2", {{"k", {3, std::string("\0\xFF", 2)}}}}};
    shadow.update("HKCU\\S", readAll(before, 1));
    const std::string kept = shadow.saved();

    RegistryShadow next;
    ASSERT_TRUE(next.restore(kept));
    EXPECT_EQ(next.keyCount(), 4u);
    EXPECT_EQ(next.unchangedSubkeys("HKCU\\S\\App", 1), (std::vector<std::string>{"Sub", "Sub2"}));
    EXPECT_EQ(next.unchangedSubkeys("HKCU\\S\\App\\Sub", 1), std::vector<std::string>{});
    EXPECT_EQ(next.unchangedSubkeys("HKCU\\S\\App", 2), std::nullopt);  // written since: ask the registry
    Registry after = before;
    after["HKCU\\S\\App"]["Size"] = {4, std::string("\x10\0\0\0", 4)};
    std::vector<RegistryChange> changes = next.update("HKCU\\S", readAll(after, 2));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], (RegistryChange{kindRegistryChangeValue, "HKCU\\S\\App\\Size", 4,
                                          std::string("\x0C\0\0\0", 4), std::string("\x10\0\0\0", 4), 2}));

    for (size_t length = 0; length < kept.size(); length += 7) {
        RegistryShadow damaged;
        EXPECT_FALSE(damaged.restore(kept.substr(0, length))) << length;
        EXPECT_EQ(damaged.keyCount(), 0u);
    }
    EXPECT_FALSE(RegistryShadow().restore(kept + "x"));
}
