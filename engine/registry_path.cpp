#include "engine/registry_path.h"

#include <algorithm>

#include "base/text.h"
#include "monitor/registry_report.h"

namespace {

struct RootName {
    std::string_view abbreviation;
    KeyRoot root;
};

// "HKU" has three letters; comparing the whole text before the backslash
// lets it stand beside the four-letter roots.
constexpr RootName rootNames[] = {
    {"HKCR", KeyRoot::ClassesRoot},   {"HKCU", KeyRoot::CurrentUser}, {"HKLM", KeyRoot::LocalMachine},
    {"HKU", KeyRoot::Users},          {"HKCC", KeyRoot::CurrentConfig}, {"HKDD", KeyRoot::DynData},
};

// Kinds 10 to 12 change a value, 13 and 14 a key.
constexpr int32_t firstKeyKind = 13;

}  // namespace

std::optional<KeyPath> splitKeyPath(std::string_view path) {
    size_t rootEnd = path.find('\\');
    if (rootEnd == std::string_view::npos || rootEnd + 1 == path.size()) return std::nullopt;
    std::string_view rootText = path.substr(0, rootEnd);
    auto root = std::ranges::find_if(
        rootNames, [&](const RootName& name) { return equalsIgnoreCase(name.abbreviation, rootText); });
    if (root == std::end(rootNames)) return std::nullopt;

    std::string_view rest = path.substr(rootEnd + 1);
    size_t last = rest.rfind('\\');
    if (last == std::string_view::npos) return KeyPath{root->root, {}, std::string(rest)};
    return KeyPath{root->root, std::string(rest.substr(0, last)), std::string(rest.substr(last + 1))};
}

std::optional<RegistryUndo> registryUndoOf(const ActionRecord& record) {
    if (record.kind < kindRegistryFirst || record.kind > kindRegistryLast) return std::nullopt;
    std::optional<KeyPath> path = splitKeyPath(record.dataC);
    if (!path) return std::nullopt;

    if (record.kind >= firstKeyKind) {
        if (path->subkey.empty()) return std::nullopt;
        return RegistryUndo{RegistryUndo::Action::DeleteKey, std::move(*path), {}, 0};
    }
    if (record.kind == kindRegistryNewValue)
        return RegistryUndo{RegistryUndo::Action::DeleteValue, std::move(*path), {}, uint32_t(record.valueType)};
    size_t length = std::min(record.dataA.size(), size_t(std::max(record.sizeA, 0)));
    std::string_view data = std::string_view(record.dataA).substr(0, length);
    return RegistryUndo{RegistryUndo::Action::SetValue, std::move(*path), data, uint32_t(record.valueType)};
}
