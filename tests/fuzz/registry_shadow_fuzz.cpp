// Two readings of a registry subtree, spelled by the input, compared by the
// shadow as the watcher's rescans compare them: applying the changes to the
// first reading gives the second, and every earlier datum is the first
// reading's. The rest of the input is a kept shadow from disk: taken back
// or refused, never half.

#include <map>

#include "monitor/registry_report.h"
#include "recorder/registry_shadow.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using Values = std::map<std::string, std::string>;
using Registry = std::map<std::string, Values>;

const char* const keyPaths[] = {"HKCU\\S", "HKCU\\S\\a", "HKCU\\S\\a\\b", "HKCU\\S\\d", "HKCU\\S\\d\\e"};
const char* const valueNames[] = {"", "x", "y", "z"};

// Each byte names a key (low 3 bits), a value of it (next 2) and its data
// (top 3); a key brings its parents.
Registry registryOf(std::string_view bytes) {
    Registry registry{{"HKCU\\S", {}}};
    for (unsigned char byte : bytes) {
        std::string key = keyPaths[(byte & 7) % 5];
        for (std::string parent = key; parent.size() > 6; parent = parent.substr(0, parent.rfind('\\')))
            registry[parent];
        registry[key][valueNames[(byte >> 3) & 3]] = std::string(size_t(byte >> 5), char('0' + (byte >> 5)));
    }
    return registry;
}

std::vector<KeyReading> readingsOf(const Registry& registry, uint64_t stamp) {
    std::vector<KeyReading> keys;
    for (const auto& [path, values] : registry) {
        KeyReading reading{path, stamp, std::vector<RegistryValue>{}};
        for (const auto& [name, data] : values) reading.values->push_back({name, 1, data});
        keys.push_back(std::move(reading));
    }
    return keys;
}

std::string keyOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
std::string nameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fileBytes(data, size);
    size_t split = bytes.find('\0'), rest = bytes.find('\0', split == std::string_view::npos ? split : split + 1);
    Registry before = registryOf(bytes.substr(0, split));
    Registry after = split == std::string_view::npos ? Registry{{"HKCU\\S", {}}} : registryOf(bytes.substr(split + 1, rest - split - 1));
    // Keys written again carry a new time; the others keep theirs.
    RegistryShadow shadow;
    require(shadow.update("HKCU\\S", readingsOf(before, 1)).empty());
    Registry model = before;
    for (const RegistryChange& change : shadow.update("HKCU\\S", readingsOf(after, 2))) {
        require(change.kind >= kindRegistryChangeValue && change.kind <= kindRegistryDeleteKey);
        if (change.kind == kindRegistryCreateKey || change.kind == kindRegistryDeleteKey) {
            require(change.path.ends_with('\\'));
            std::string key = change.path.substr(0, change.path.size() - 1);
            require(model.contains(key) == (change.kind == kindRegistryDeleteKey));
            if (change.kind == kindRegistryCreateKey)
                model[key];
            else
                model.erase(key);
            continue;
        }
        std::string key = keyOf(change.path), name = nameOf(change.path);
        require(model.contains(key));
        Values& values = model[key];
        bool existed = values.contains(name);
        require(existed == (change.kind != kindRegistryNewValue));
        if (existed) require(values[name] == change.oldData);
        if (change.kind == kindRegistryDeleteValue)
            values.erase(name);
        else
            values[name] = change.newData;
    }
    require(model == after);

    RegistryShadow kept;
    if (rest != std::string_view::npos && kept.restore(bytes.substr(rest + 1))) {
        RegistryShadow again;
        require(again.restore(kept.saved()) && again.keyCount() == kept.keyCount());
    } else {
        require(kept.keyCount() == 0);
    }
    return 0;
}
