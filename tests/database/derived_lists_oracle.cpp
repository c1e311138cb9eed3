#include "derived_lists_oracle.h"

#include <algorithm>
#include <cstring>

namespace oracle {
namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return result;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return result;
}

bool same(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::string name(const ActionRecord& record) { return std::string(record.programName, strnlen(record.programName, 9)); }

std::string folder(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

int settingsFileClass(const std::string& path, int32_t kind) {  // 0 none, 1 profile, 2 whole file
    if (kind != 4 || path.find('\\') == std::string::npos || path.find('.') == std::string::npos) return 0;
    std::string extension = path.substr(path.rfind('.') + 1);
    std::string fileName = path.substr(path.rfind('\\') + 1);
    if (same(extension, "ini") || same(fileName, "msdos.sys")) return 1;
    if (same(fileName, "config.sys") || same(fileName, "autoexec.bat")) return 2;
    return 0;
}

bool hasDataExtension(const std::string& path, const std::vector<std::string>& extensions) {
    if (path.empty() || path.find('.') == std::string::npos) return false;
    std::string extension = path.substr(path.rfind('.') + 1);
    for (const std::string& item : extensions)
        if (!item.empty() && same(item, extension)) return true;
    return false;
}

bool inNameList(const std::string& list, const std::string& wanted) {
    if (list.empty() || wanted.empty()) return false;
    std::string upperList = upper(list), upperName = upper(wanted);
    size_t start = 0;
    while (start <= upperList.size()) {
        size_t bar = upperList.find('|', start);
        if (bar == std::string::npos) bar = upperList.size();
        std::string item = upperList.substr(start, bar - start);
        if (!item.empty() && item == upperName) return true;
        start = bar + 1;
    }
    return false;
}

int isSupersededRecycle(std::span<const ActionRecord> records, size_t j) {
    if (records[j].kind != 5) return 0;
    for (size_t k = j + 1; k < records.size(); ++k)
        if (records[k].kind == 2 && same(records[k].dataA, records[j].dataA)) return 1;
    return 0;
}

template <class Entry, class Matches>
void formSessions(std::span<const ActionRecord> records, Entry& entry, Matches matches) {
    for (size_t j = 0; j < records.size(); ++j) {
        if (!matches(records[j]) || records[j].undone() || !isRunStart(records, j)) continue;
        ProgramSession session;
        for (size_t k = j; k < records.size(); ++k) {
            if (records[k].isBootMarker()) break;
            if (matches(records[k]) && records[k].processId == records[j].processId && !records[k].undone())
                (records[k].isSetting() ? session.settingActions : session.fileActions).push_back(int32_t(k));
        }
        entry.sessions.push_back(session);
    }
}

}  // namespace

void deriveFlags(std::vector<ActionRecord>& records, const FlagInputs& inputs) {
    for (size_t j = 0; j < records.size(); ++j) {
        ActionRecord& r = records[j];
        std::string n = name(r);
        r.setIsControlPanel(same(n, "CPL") ? 1 : 0);
        r.setIsExplorer(lower(n).find("explorer") != std::string::npos ? 1 : 0);
        r.setIsBootMarker(r.kind == 6 ? 1 : 0);
        int setting = 0;
        if (r.source == 2) setting += 1;
        if (r.source == 1) {
            if (settingsFileClass(r.dataA, r.kind) != 0) setting += 1;
            if (!hasDataExtension(r.dataA, inputs.dataFileExtensions)) setting += 1;
        }
        if (same(n, "CPL")) setting += 1;
        r.setIsSetting(setting);
        r.setIsDownload(r.source == 1 && r.kind == 1 && inNameList(inputs.downloadModules, n) ? 1 : 0);
        if (settingsFileClass(r.dataA, r.kind) == 1) r.setIsIniFile(1);
        r.setUndone(r.undone() + isSupersededRecycle(records, j));
    }
}

bool isRunStart(std::span<const ActionRecord> records, size_t j) {
    for (size_t k = j; k-- > 0;) {
        if (records[k].kind == 6) return true;
        if (same(name(records[k]), name(records[j])) && records[k].processId == records[j].processId &&
            !records[k].undone())
            return false;
    }
    return true;
}

bool isGroupStart(std::span<const ActionRecord> records, size_t i) {
    size_t p = i;
    do {
        if (p == 0) return true;
        --p;
    } while (records[p].undone());
    const ActionRecord& a = records[p];
    const ActionRecord& b = records[i];
    if (a.processId != b.processId || a.kind != b.kind) return true;
    if (b.kind == 2 || b.kind == 5) return !same(folder(a.dataA), folder(b.dataA));
    if (b.kind == 7 || b.kind == 8)
        return !(same(folder(a.dataA), folder(b.dataA)) || same(folder(a.dataB), folder(b.dataB)));
    return true;
}

bool isProgramStart(std::span<const ActionRecord> records, size_t j) {
    for (size_t k = j; k-- > 0;) {
        if (records[k].kind == 6) return true;
        if (records[k].processId == records[j].processId) return false;
    }
    return true;
}

std::vector<ProgramEntry> buildProgramList(std::span<const ActionRecord> records) {
    std::vector<ProgramEntry> list;
    for (size_t j = records.size(); j-- > 0;) {
        const ActionRecord& r = records[j];
        if (r.processId == 0 || name(r).empty() || r.isExplorer() || r.isControlPanel() || r.undone()) continue;
        bool known = std::ranges::any_of(list, [&](const ProgramEntry& e) { return same(e.programName, name(r)); });
        if (known) continue;
        ProgramEntry entry;
        std::strncpy(entry.programName, name(r).c_str(), 8);
        list.push_back(entry);
    }
    std::ranges::reverse(list);
    for (ProgramEntry& entry : list)
        formSessions(records, entry, [&](const ActionRecord& r) { return same(name(r), entry.programName); });
    return list;
}

std::vector<AppletEntry> buildAppletList(std::span<const ActionRecord> records) {
    std::vector<AppletEntry> list;
    for (size_t j = records.size(); j-- > 0;) {
        const ActionRecord& r = records[j];
        if (r.processId == 0 || !r.isControlPanel() || r.undone()) continue;
        bool known = std::ranges::any_of(list, [&](const AppletEntry& e) { return same(e.appletPath, r.programPath); });
        if (!known) list.push_back({r.programPath, {}});
    }
    std::ranges::reverse(list);
    for (AppletEntry& entry : list)
        formSessions(records, entry, [&](const ActionRecord& r) { return same(r.programPath, entry.appletPath); });
    return list;
}

std::vector<FileActionGroup> buildFileActionList(std::span<const ActionRecord> records) {
    std::vector<FileActionGroup> list;
    std::vector<bool> takenIn(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const ActionRecord& r = records[i];
        if (r.undone()) continue;
        if (r.isExplorer()) {
            if (r.isIniFile() || r.source == 2) continue;
            // The mended rule: a record no group took in starts one, group start or not.
            if (!isGroupStart(records, i) && takenIn[i]) continue;
            FileActionGroup group{{int32_t(i)}};
            for (size_t k = i + 1; k < records.size(); ++k) {
                if (records[k].isIniFile() || !records[k].isExplorer() || isGroupStart(records, k)) break;
                takenIn[k] = true;
                if (!records[k].undone()) group.actions.push_back(int32_t(k));
            }
            list.push_back(group);
        } else if (r.isSetting() == 0) {
            list.push_back({{int32_t(i)}});
        }
    }
    return list;
}

ActionIndex buildActionIndex(std::span<const ActionRecord> records) {
    ActionIndex index;
    for (size_t j = 0; j < records.size(); ++j) {
        const ActionRecord& r = records[j];
        if (!r.isExplorer() && !r.undone() && !r.isControlPanel() && !r.isBootMarker() && isProgramStart(records, j))
            index.programStarts.push_back(int32_t(j));
        if (!r.undone() && r.isBootMarker()) index.bootMarkers.push_back(int32_t(j));
        int hour = r.time >> 11, day = r.date & 31, month = (r.date >> 5) & 15, year = 1980 + (r.date >> 9);
        int lastHour = 0, lastDay = 0, lastMonth = 0, lastYear = 0;
        if (j > 0) {
            const ActionRecord& p = records[j - 1];
            lastHour = p.time >> 11, lastDay = p.date & 31, lastMonth = (p.date >> 5) & 15,
            lastYear = 1980 + (p.date >> 9);
        }
        if (hour > lastHour || day > lastDay || month > lastMonth || year > lastYear)
            index.hourStarts.push_back(int32_t(j));
    }
    return index;
}

}  // namespace oracle
