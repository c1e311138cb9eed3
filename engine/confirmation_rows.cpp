#include "engine/confirmation_rows.h"

#include <cstdio>
#include <string>

namespace {

std::string twoDigits(size_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%02zu", number);
    return text;
}

std::string sizeOf(const ActionRecord& record) { return formatCount(uint32_t(record.sizeA)); }

// A session's rows name it by a record whose time stands for the session.
int32_t firstFileThenSetting(const ProgramSession& session) {
    if (!session.fileActions.empty()) return session.fileActions.front();
    if (!session.settingActions.empty()) return session.settingActions.front();
    return -1;
}

// The date and time cells of a record; empty for none.
std::vector<std::string> dateAndTime(int32_t action, std::span<const ActionRecord> records) {
    if (action < 0) return {"", ""};
    const ActionRecord& record = records[size_t(action)];
    return {formatActionDate(record.date), formatActionTime(record.time)};
}

}  // namespace

std::vector<ListRow> programFileRows(const ProgramEntry& entry, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    size_t number = 0;
    for (auto session = entry.sessions.rbegin(); session != entry.sessions.rend(); ++session) {
        ++number;
        for (auto action = session->fileActions.rbegin(); action != session->fileActions.rend(); ++action) {
            const ActionRecord& record = records[size_t(*action)];
            rows.push_back({{record.dataA, std::string(actionKindLabel(record.kind)), sizeOf(record),
                             formatActionDate(record.date), formatActionTime(record.time), twoDigits(number)},
                            *action});
        }
    }
    return rows;
}

std::vector<ListRow> programSessionRows(const ProgramEntry& entry, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    size_t number = 0;
    for (auto session = entry.sessions.rbegin(); session != entry.sessions.rend(); ++session) {
        int32_t first = sessionFirstAction(*session);
        ListRow row{{"Session " + twoDigits(++number)}, first};
        for (std::string& cell : dateAndTime(first, records)) row.cells.push_back(std::move(cell));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ListRow> sessionConfirmationRows(std::span<const ProgramSession> sessions, size_t oldestChosen,
                                             SessionPart part, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    auto addRow = [&](size_t number, const ActionRecord& record, const char* type) {
        bool registry = record.source == sourceRegistryReport;
        rows.push_back({{twoDigits(number), registry ? record.dataC : record.dataA, registry ? "" : sizeOf(record),
                         type, formatActionDate(record.date), formatActionTime(record.time)},
                        int32_t(rows.size())});
    };
    size_t number = 0;
    for (size_t s = sessions.size(); s > oldestChosen; --s) {
        const ProgramSession& session = sessions[s - 1];
        ++number;
        if (part == SessionPart::SettingsAndFiles)
            for (auto action = session.fileActions.rbegin(); action != session.fileActions.rend(); ++action)
                addRow(number, records[size_t(*action)], "File");
        for (auto action = session.settingActions.rbegin(); action != session.settingActions.rend(); ++action)
            addRow(number, records[size_t(*action)], "Setting");
    }
    return rows;
}

std::vector<ListRow> fileGroupRows(const FileActionGroup& group, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (auto action = group.actions.rbegin(); action != group.actions.rend(); ++action) {
        const ActionRecord& record = records[size_t(*action)];
        rows.push_back(
            {{record.dataA, sizeOf(record), formatActionDate(record.date), formatActionTime(record.time)}, *action});
    }
    return rows;
}

std::vector<ListRow> appletSessionRows(const AppletEntry& entry, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (size_t s = entry.sessions.size(); s-- > 0;)
        rows.push_back({dateAndTime(firstFileThenSetting(entry.sessions[s]), records), int32_t(s)});
    return rows;
}
