#include "recorder/registry_shadow.h"

#include <algorithm>
#include <iterator>

#include "base/text.h"
#include "monitor/registry_report.h"
#include "recorder/ignore_rules.h"
#include "recorder/path_map.h"
#include "recorder/saved_state.h"

namespace {

const RegistryValue* findValue(const std::vector<RegistryValue>& values, std::string_view name) {
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const RegistryValue& v) { return equalsIgnoreCase(v.name, name); });
    return found == values.end() ? nullptr : &*found;
}

std::string valuePath(std::string_view key, std::string_view value) {
    return std::string(key) + "\\" + std::string(value);
}

std::string keyLevelPath(std::string_view key) { return std::string(key) + "\\"; }

void diffValues(std::string_view key, const std::vector<RegistryValue>& before,
                const std::vector<RegistryValue>& after, std::vector<RegistryChange>& changes) {
    for (const RegistryValue& now : after) {
        const RegistryValue* was = findValue(before, now.name);
        if (!was)
            changes.push_back({kindRegistryNewValue, valuePath(key, now.name), now.type, "", now.data});
        else if (was->type != now.type || was->data != now.data)
            changes.push_back({kindRegistryChangeValue, valuePath(key, now.name), was->type, was->data, now.data});
    }
    for (const RegistryValue& was : before)
        if (!findValue(after, was.name))
            changes.push_back({kindRegistryDeleteValue, valuePath(key, was.name), was.type, was.data, ""});
}

// Gives the changes found in one key, from its creation until the end of
// this scope, the key's last write time: the moment the latest of them was
// made. Gone keys have no time of their own.
class WrittenAt {
public:
    WrittenAt(std::vector<RegistryChange>& changes, uint64_t lastWrite)
        : changes_(changes), first_(changes.size()), lastWrite_(lastWrite) {}
    ~WrittenAt() {
        for (size_t index = first_; index < changes_.size(); ++index) changes_[index].written = lastWrite_;
    }
    WrittenAt(const WrittenAt&) = delete;
    WrittenAt& operator=(const WrittenAt&) = delete;

private:
    std::vector<RegistryChange>& changes_;
    size_t first_;
    uint64_t lastWrite_;
};

constexpr std::string_view shadowMagic = "RetraceRegistryShadow1";

}  // namespace

bool RegistryShadow::needsValues(std::string_view keyPath, uint64_t lastWrite) const {
    auto found = keys_.find(keyPath);
    return found == keys_.end() || found->second.lastWrite != lastWrite;
}

std::optional<std::vector<std::string>> RegistryShadow::unchangedSubkeys(std::string_view keyPath,
                                                                         uint64_t lastWrite) const {
    if (needsValues(keyPath, lastWrite)) return std::nullopt;
    return subkeysHeld(keyPath);
}

std::vector<std::string> RegistryShadow::subkeysHeld(std::string_view keyPath) const {
    // The keys below a child lie together in the shadow's order, before any
    // name past "child]": one look-up skips each child's own subtree.
    std::vector<std::string> names;
    const std::string prefix = std::string(keyPath) + "\\";
    for (auto it = keys_.lower_bound(prefix);
         it != keys_.end() && equalsIgnoreCase(std::string_view(it->first).substr(0, prefix.size()), prefix);) {
        std::string_view rest = std::string_view(it->first).substr(prefix.size());
        size_t slash = rest.find('\\');
        if (slash == std::string_view::npos) {
            names.emplace_back(rest);
            ++it;
        } else {
            it = keys_.lower_bound(prefix + std::string(rest.substr(0, slash)) + "]");
        }
    }
    return names;
}

size_t RegistryShadow::keysHeldBelow(std::string_view keyPath) const {
    // Every name below the key sorts after "key\" and before "key]".
    const std::string path(keyPath);
    return size_t(std::distance(keys_.lower_bound(path + "\\"), keys_.lower_bound(path + "]")));
}

std::vector<RegistryChange> RegistryShadow::update(std::string_view root, std::vector<KeyReading> keys) {
    const bool known = std::any_of(roots_.begin(), roots_.end(), [&](const std::string& r) { return isWithin(root, r); });
    if (!known) roots_.emplace(root);
    std::vector<RegistryChange> changes;
    std::set<std::string, IgnoreCaseLess> seen;
    for (KeyReading& reading : keys) {
        seen.insert(reading.path);
        WrittenAt written(changes, reading.lastWrite);
        auto found = keys_.find(reading.path);
        if (found == keys_.end()) {
            if (known) changes.push_back({kindRegistryCreateKey, keyLevelPath(reading.path), 0, "", ""});
            Key& key = keys_[reading.path];
            key.lastWrite = reading.lastWrite;
            key.values = reading.values.value_or(std::vector<RegistryValue>{});
            if (known) diffValues(reading.path, {}, key.values, changes);
            continue;
        }
        found->second.lastWrite = reading.lastWrite;
        if (!reading.values) continue;
        if (known) diffValues(reading.path, found->second.values, *reading.values, changes);
        found->second.values = std::move(*reading.values);
    }
    // Keys of the subtree that were not read again are gone. Deepest first:
    // their paths in reverse order put every subkey before its parent.
    std::vector<std::string> gone;
    for (auto key : entriesWithin(keys_, root))
        if (!seen.contains(key->first)) gone.push_back(key->first);
    for (auto path = gone.rbegin(); path != gone.rend(); ++path) {
        auto found = keys_.find(*path);
        if (known) {
            diffValues(*path, found->second.values, {}, changes);
            changes.push_back({kindRegistryDeleteKey, keyLevelPath(*path), 0, "", ""});
        }
        keys_.erase(found);
    }
    return changes;
}

bool isLeftOutKey(std::string_view keyPath) {
    static const char* const leftOut[] = {
        "HKLM\\SOFTWARE\\Tarnwick\\Undo",
        "HKCU\\Software\\Tarnwick\\Undo",
        "HKCU\\Software\\Wine",
        "HKLM\\SOFTWARE\\Wine",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SessionInfo",
        "HKCU\\Software\\Microsoft\\Windows\\Shell\\Bags",
        "HKCU\\Software\\Microsoft\\Windows\\Shell\\BagMRU",
        "HKCU\\Software\\Classes\\Local Settings",
        "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib",
        // The system writes the list of network adapters anew as it starts.
        "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
    };
    return std::any_of(std::begin(leftOut), std::end(leftOut),
                       [&](const char* key) { return isWithin(keyPath, key); });
}

std::vector<RegistryChange> RegistryShadow::updateValues(KeyReading reading) {
    std::vector<RegistryChange> changes;
    if (!reading.values) return changes;
    Key& key = keys_[reading.path];
    key.lastWrite = reading.lastWrite;
    WrittenAt written(changes, reading.lastWrite);
    diffValues(reading.path, key.values, *reading.values, changes);
    key.values = std::move(*reading.values);
    return changes;
}

std::string RegistryShadow::saved() const {
    StateWriter out(shadowMagic);
    out.addNumber(roots_.size());
    for (const std::string& root : roots_) out.addText(root);
    out.addNumber(keys_.size());
    for (const auto& [path, key] : keys_) {
        out.addText(path);
        out.addNumber(key.lastWrite);
        out.addNumber(key.values.size());
        for (const RegistryValue& value : key.values) {
            out.addText(value.name);
            out.addNumber(value.type);
            out.addText(value.data);
        }
    }
    return out.bytes();
}

bool RegistryShadow::restore(std::string_view bytes) {
    keys_.clear();
    roots_.clear();
    StateReader in(bytes, shadowMagic);
    for (uint64_t roots = in.nextNumber().value_or(0); roots > 0 && in.ok(); --roots)
        if (std::optional<std::string> root = in.nextText()) roots_.insert(std::move(*root));
    for (uint64_t keys = in.nextNumber().value_or(0); keys > 0 && in.ok(); --keys) {
        std::optional<std::string> path = in.nextText();
        Key key;
        key.lastWrite = in.nextNumber().value_or(0);
        for (uint64_t values = in.nextNumber().value_or(0); values > 0 && in.ok(); --values) {
            RegistryValue value;
            value.name = in.nextText().value_or("");
            value.type = uint32_t(in.nextNumber().value_or(0));
            value.data = in.nextText().value_or("");
            key.values.push_back(std::move(value));
        }
        if (path) keys_[*path] = std::move(key);
    }
    if (in.atEnd()) return true;
    keys_.clear();
    roots_.clear();
    return false;
}
