#pragma once
// The registry as the recorder last saw it. A registry notification says
// only that something below a key changed; the data from before comes from
// this copy, compared with what the walker reads now. Only keys whose last
// write time moved are read again, since a value's write moves its own key's
// time and no other's.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/ignore_case_hash.h"

struct RegistryValue {
    std::string name;
    uint32_t type = 0;
    std::string data;
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// One key as the walker read it.
struct KeyReading {
    std::string path;  // "HKCU\Software\Vendor", root abbreviation first
    uint64_t lastWrite = 0;
    // Read only when the shadow asked for them (needsValues); none means
    // the key is as the shadow holds it.
    std::optional<std::vector<RegistryValue>> values;
};

// One entry of the registry report, without who made it and when.
struct RegistryChange {
    int32_t kind = 0;  // kindRegistryChangeValue ... kindRegistryDeleteKey
    std::string path;  // a value's path, or a key's with a closing backslash
    uint32_t valueType = 0;
    std::string oldData;
    std::string newData;
    uint64_t written = 0;  // its key's last write time, in the system clock; 0: not known
    uint64_t seen = 0;  // when the watcher was told, in the system clock; 0: not known
    friend bool operator==(const RegistryChange&, const RegistryChange&) = default;
};

class RegistryShadow {
public:
    // Whether the walker must read the key's values: the shadow lacks the
    // key, or the key was written since.
    bool needsValues(std::string_view keyPath, uint64_t lastWrite) const;

    // Takes every key of the subtree at `root` as just read, parents before
    // children, and answers what changed since the shadow's copy. The order
    // is one that undoing newest first puts back exactly: a new key before
    // its values (undo empties them, then deletes the key), a removed key's
    // values before the key and its subkeys before it (undo finds the key
    // gone, then writes the values back, which makes the key again). A
    // value's type is the one it had before, which undo writes back. The
    // first reading of a subtree that lies in none read before answers
    // nothing: there was nothing before.
    std::vector<RegistryChange> update(std::string_view root, std::vector<KeyReading> keys);

    // The same for one key's values alone, leaving its subkeys as they are.
    std::vector<RegistryChange> updateValues(KeyReading key);

    // The names of the key's subkeys as the shadow holds them, when the key
    // was not written since: a subkey made or deleted moves its parent's last
    // write time, so the list is as it was and the walker need not ask.
    // Nothing when the key is new or was written.
    std::optional<std::vector<std::string>> unchangedSubkeys(std::string_view keyPath, uint64_t lastWrite) const;

    // The names of the key's subkeys as the shadow holds them, and how many
    // keys it holds below the key in all.
    std::vector<std::string> subkeysHeld(std::string_view keyPath) const;
    size_t keysHeldBelow(std::string_view keyPath) const;

    size_t keyCount() const { return keys_.size(); }

    // The shadow as bytes to keep until the next run, and taken back from
    // them: the next run's first reading then answers what changed meanwhile.
    // False, and the shadow left empty, when the bytes are not a whole shadow.
    std::string saved() const;
    bool restore(std::string_view bytes);

private:
    struct Key {
        uint64_t lastWrite = 0;
        std::vector<RegistryValue> values;
    };
    std::map<std::string, Key, IgnoreCaseLess> keys_;
    std::set<std::string, IgnoreCaseLess> roots_;
};

// Keys the recorder leaves out: Retrace's own, and those that Windows and
// the shell rewrite all the time (recent-file lists, window placements,
// usage counts), which no one would undo.
bool isLeftOutKey(std::string_view keyPath);
