#pragma once
// Registry records' paths and what undoing such a record does. Pure: the
// Win32 layer maps the root to its handle and makes the calls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "database/action_record.h"

enum class KeyRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

struct KeyPath {
    KeyRoot root = KeyRoot::CurrentUser;
    std::string subkey;     // empty: the root key itself
    std::string valueName;  // empty: the key's default value
};

// Splits "root\subkey\value name". The root is the text before the first
// backslash: "HKCR", "HKCU", "HKLM", "HKU", "HKCC" or "HKDD", in any case.
// The subkey runs from after that backslash up to the last backslash, the
// value name is the text after the last one. Nothing for any other root, or
// when nothing follows the root's backslash.
std::optional<KeyPath> splitKeyPath(std::string_view path);

struct RegistryUndo {
    enum class Action { SetValue, DeleteValue, DeleteKey };
    Action action = Action::SetValue;
    KeyPath path;           // DeleteKey: the key is path.subkey, never empty
    std::string_view data;  // SetValue: into the record's dataA
    uint32_t valueType = 0;
};

// What undoing the registry record does, or nothing at all:
// - kinds 10 and 12 set the value at the path to the record's earlier data,
//   creating the key when it is missing; the data is dataA, cut to sizeA
//   bytes when sizeA is smaller, never read past dataA when it is larger;
// - kind 11 made the value, so its undo deletes it: writing its empty
//   earlier data back would leave a value that was never there;
// - kinds 13 and 14 delete the key named up to the path's last backslash
//   (the monitor writes key paths with a closing one), never a root;
// - any other kind, or a path that splitKeyPath refuses, does nothing.
std::optional<RegistryUndo> registryUndoOf(const ActionRecord& record);
