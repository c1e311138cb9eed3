#include "database/derive_flags.h"

#include <algorithm>

#include "settings/settings_lists.h"

namespace {
std::string_view textAfterLast(std::string_view text, char c) {
    size_t at = text.rfind(c);
    return at == std::string_view::npos ? std::string_view{} : text.substr(at + 1);
}

bool containsExplorer(std::string_view name) {
    constexpr std::string_view explorer = "explorer";
    for (size_t at = 0; at + explorer.size() <= name.size(); ++at)
        if (equalsIgnoreCase(name.substr(at, explorer.size()), explorer)) return true;
    return false;
}
}  // namespace

SettingsFileClass isSettingsFileChange(std::string_view path, int32_t kind) {
    if (kind != kindModify) return SettingsFileClass::none;
    if (path.find('\\') == std::string_view::npos || path.find('.') == std::string_view::npos)
        return SettingsFileClass::none;
    std::string_view extension = textAfterLast(path, '.');
    std::string_view fileName = textAfterLast(path, '\\');
    if (equalsIgnoreCase(extension, "ini") || equalsIgnoreCase(fileName, "msdos.sys"))
        return SettingsFileClass::profile;
    if (equalsIgnoreCase(fileName, "config.sys") || equalsIgnoreCase(fileName, "autoexec.bat"))
        return SettingsFileClass::wholeFile;
    return SettingsFileClass::none;
}

DataExtensionSet::DataExtensionSet(std::span<const std::string> extensions) {
    for (const std::string& extension : extensions)
        if (!extension.empty()) extensions_.insert(extension);
}

bool hasDataExtension(std::string_view path, const DataExtensionSet& extensions) {
    size_t dot = path.rfind('.');
    return dot != std::string_view::npos && extensions.contains(path.substr(dot + 1));
}

LastDeleteIndex indexLastDeletes(std::span<const ActionRecord> records) {
    // Keyed by the recycled paths only: Recycle records are few beside
    // Deletes, and a Delete of a path never recycled matters to none. A
    // Delete whose path differs in length from every recycled one is passed
    // over without a look at its text.
    LastDeleteIndex lastDeletes;
    std::vector<bool> recycledLength;
    std::vector<size_t> deletes;
    for (size_t j = 0; j < records.size(); ++j) {
        const std::string& path = records[j].dataA;
        if (records[j].kind == kindDelete) {
            deletes.push_back(j);
        } else if (records[j].kind == kindRecycle) {
            lastDeletes.try_emplace(path, 0);
            recycledLength.resize(std::max(recycledLength.size(), path.size() + 1));
            recycledLength[path.size()] = true;
        }
    }
    for (size_t j : deletes) {
        const std::string& path = records[j].dataA;
        if (path.size() >= recycledLength.size() || !recycledLength[path.size()]) continue;
        auto found = lastDeletes.find(std::string_view(path));
        if (found != lastDeletes.end()) found->second = j;
    }
    return lastDeletes;
}

int32_t isSupersededRecycle(std::span<const ActionRecord> records, size_t j, const LastDeleteIndex& lastDeletes) {
    if (records[j].kind != kindRecycle) return 0;
    auto found = lastDeletes.find(std::string_view(records[j].dataA));
    return found != lastDeletes.end() && found->second > j ? 1 : 0;
}

void deriveFlags(std::span<ActionRecord> records, const DerivedFlagInputs& inputs) {
    DataExtensionSet dataExtensions(inputs.dataFileExtensions);
    LastDeleteIndex lastDeletes = indexLastDeletes(records);
    for (size_t j = 0; j < records.size(); ++j) {
        ActionRecord& record = records[j];
        std::string_view name = fieldText(record.programName);
        bool isCpl = equalsIgnoreCase(name, "CPL");
        SettingsFileClass settingsFile = isSettingsFileChange(record.dataA, record.kind);

        record.isControlPanel = isCpl;
        record.isExplorer = containsExplorer(name);
        record.isBootMarker = record.kind == kindBootMarker;
        record.isSetting = (record.source == sourceRegistryReport) + isCpl;
        if (record.source == sourceFileReport)
            record.isSetting +=
                (settingsFile != SettingsFileClass::none) + !hasDataExtension(record.dataA, dataExtensions);
        record.isDownload = record.source == sourceFileReport && record.kind == kindCreate &&
                            inNameList(inputs.downloadModules, name);
        if (settingsFile == SettingsFileClass::profile) record.isIniFile = 1;
        record.undone += isSupersededRecycle(records, j, lastDeletes);
    }
}
