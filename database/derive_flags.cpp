#include "database/derive_flags.h"

#include <algorithm>
#include <iterator>

#include "base/text.h"

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
        std::string_view path = records[j].dataA;
        if (records[j].kind == kindDelete) {
            deletes.push_back(j);
        } else if (records[j].kind == kindRecycle) {
            lastDeletes.try_emplace(path, 0);
            recycledLength.resize(std::max(recycledLength.size(), path.size() + 1));
            recycledLength[path.size()] = true;
        }
    }
    for (size_t j : deletes) {
        std::string_view path = records[j].dataA;
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

namespace {
// Every slot but undone, from the record's own fields.
void deriveOwnFlags(ActionRecord& record, const DataExtensionSet& dataExtensions, std::string_view downloadModules) {
    std::string_view name = fieldText(record.programName);
    bool isCpl = equalsIgnoreCase(name, "CPL");
    SettingsFileClass settingsFile = isSettingsFileChange(record.dataA, record.kind);

    record.setIsControlPanel(isCpl);
    record.setIsExplorer(containsExplorer(name));
    record.setIsBootMarker(record.kind == kindBootMarker);
    record.setIsSetting((record.source == sourceRegistryReport) + isCpl);
    if (record.source == sourceFileReport)
        record.setIsSetting(record.isSetting() + (settingsFile != SettingsFileClass::none) +
                            !hasDataExtension(record.dataA, dataExtensions));
    record.setIsDownload(record.source == sourceFileReport && record.kind == kindCreate &&
                         inNameList(downloadModules, name));
    if (settingsFile == SettingsFileClass::profile) record.setIsIniFile(1);
}

bool sameOwnFields(const ActionRecord& a, const ActionRecord& b) {
    return fieldText(a.programName) == fieldText(b.programName) && a.programPath == b.programPath &&
           a.processId == b.processId && a.kind == b.kind && a.date == b.date && a.time == b.time &&
           a.source == b.source && a.dataA == b.dataA && a.dataB == b.dataB && a.dataC == b.dataC;
}
}  // namespace

void deriveFlags(std::span<ActionRecord> records, const DerivedFlagInputs& inputs) {
    DataExtensionSet dataExtensions(inputs.dataFileExtensions);
    LastDeleteIndex lastDeletes = indexLastDeletes(records);
    for (size_t j = 0; j < records.size(); ++j) {
        deriveOwnFlags(records[j], dataExtensions, inputs.downloadModules);
        records[j].setUndone(records[j].undone() + isSupersededRecycle(records, j, lastDeletes));
    }
}

void FlagDeriver::derive(std::vector<ActionRecord>& records, const DerivedFlagInputs& inputs) {
    if (!coversPrefixOf(records, inputs)) {
        forget();
        inputs_ = inputs;
    }
    DataExtensionSet dataExtensions(inputs.dataFileExtensions);
    for (size_t j = derived_; j < records.size(); ++j) {
        ActionRecord& record = records[j];
        deriveOwnFlags(record, dataExtensions, inputs.downloadModules);
        if (record.kind == kindRecycle) {
            recycles_[record.dataA].push_back(j);
        } else if (record.kind == kindDelete) {
            auto found = recycles_.find(record.dataA);
            if (found == recycles_.end()) continue;
            retired_.insert(retired_.end(), found->second.begin(), found->second.end());
            recycles_.erase(found);
        }
    }
    for (size_t j : retired_) records[j].setUndone(records[j].undone() + 1);
    derived_ = records.size();
    if (!records.empty()) {
        first_ = records.front();
        last_ = records.back();
    }
}

void FlagDeriver::droppedFront(const std::vector<ActionRecord>& records, size_t count) {
    if (count >= derived_) {
        forget();
        return;
    }
    auto shift = [count](std::vector<size_t>& indices) {
        std::erase_if(indices, [count](size_t j) { return j < count; });
        for (size_t& j : indices) j -= count;
    };
    shift(retired_);
    for (auto it = recycles_.begin(); it != recycles_.end();) {
        shift(it->second);
        it = it->second.empty() ? recycles_.erase(it) : std::next(it);
    }
    derived_ -= count;
    first_ = records.front();
}

bool FlagDeriver::coversPrefixOf(const std::vector<ActionRecord>& records, const DerivedFlagInputs& inputs) const {
    return derived_ > 0 && records.size() >= derived_ && sameOwnFields(records.front(), first_) &&
           sameOwnFields(records[derived_ - 1], last_) &&
           inputs.dataFileExtensions == inputs_.dataFileExtensions && inputs.downloadModules == inputs_.downloadModules;
}

void FlagDeriver::forget() {
    derived_ = 0;
    recycles_.clear();
    retired_.clear();
}
