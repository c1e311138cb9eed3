#include "browse/wizard_rows.h"

#include <string>

#include "base/paths.h"
#include "base/text.h"

namespace {
std::string programNameOf(const ActionRecord& record) { return std::string(fieldText(record.programName)); }

// A row naming something by `text`, at the date and time of `record`.
ListRow datedRow(std::string text, const ActionRecord& record, int32_t value) {
    return {{std::move(text), formatActionDate(record.date), formatActionTime(record.time)}, value};
}

ListRow recordRow(std::span<const ActionRecord> records, int32_t index) {
    return datedRow(records[size_t(index)].dataA, records[size_t(index)], index);
}

ListRow sessionRow(std::span<const ActionRecord> records, const ProgramSession& session, int32_t value) {
    const ActionRecord& first = records[size_t(session.settingActions.front())];
    return {{formatActionDate(first.date), formatActionTime(first.time)}, value};
}

// The record a program's row stands for, or -1 when the program has no row.
int32_t standInRecord(const ProgramEntry& program, ProgramsListed listed) {
    if (program.sessions.empty()) return -1;
    const ProgramSession& first = program.sessions.front();
    if (!first.settingActions.empty()) return first.settingActions.front();
    if (listed == ProgramsListed::WithSettings || first.fileActions.empty()) return -1;
    return first.fileActions.front();
}
}  // namespace

std::vector<ListRow> fileActionRows(std::span<const FileActionGroup> groups, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (size_t g = groups.size(); g-- > 0;)
        for (size_t a = groups[g].actions.size(); a-- > 0;) rows.push_back(recordRow(records, groups[g].actions[a]));
    return rows;
}

std::vector<ListRow> programRows(std::span<const ProgramEntry> programs, std::span<const ActionRecord> records,
                                 ProgramsListed listed) {
    std::vector<ListRow> rows;
    for (size_t p = programs.size(); p-- > 0;) {
        const int32_t standIn = standInRecord(programs[p], listed);
        if (standIn == -1) continue;
        const ActionRecord& record = records[size_t(standIn)];
        rows.push_back(datedRow(programNameOf(record), record, int32_t(p)));
    }
    return rows;
}

std::vector<ListRow> appletRows(std::span<const AppletEntry> applets, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (size_t a = applets.size(); a-- > 0;) {
        const auto& sessions = applets[a].sessions;
        if (sessions.empty() || sessions.front().settingActions.empty()) continue;
        const ActionRecord& record = records[size_t(sessions.front().settingActions.front())];
        rows.push_back(datedRow(record.programPath, record, int32_t(a)));
    }
    return rows;
}

std::vector<ListRow> sessionFileRows(std::span<const ProgramSession> sessions, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (size_t s = sessions.size(); s-- > 0;)
        for (size_t f = sessions[s].fileActions.size(); f-- > 0;)
            rows.push_back(recordRow(records, sessions[s].fileActions[f]));
    return rows;
}

std::vector<ListRow> recordRows(std::span<const int32_t> indices, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (int32_t index : indices)
        if (index >= 0 && size_t(index) < records.size()) rows.push_back(recordRow(records, index));
    return rows;
}

std::vector<ListRow> settingSessionRows(std::span<const ProgramSession> sessions,
                                        std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (size_t s = sessions.size(); s-- > 0;)
        if (!sessions[s].settingActions.empty()) rows.push_back(sessionRow(records, sessions[s], int32_t(s)));
    return rows;
}

std::vector<ListRow> sessionsToUndoRows(std::span<const ProgramSession> sessions, int32_t oldestChosen,
                                        std::span<const ActionRecord> records) {
    if (oldestChosen < 0 || size_t(oldestChosen) >= sessions.size()) return {};
    std::vector<ListRow> rows;
    for (size_t s = sessions.size(); s-- > size_t(oldestChosen);)
        if (!sessions[s].settingActions.empty()) rows.push_back(sessionRow(records, sessions[s], 0));
    return rows;
}

namespace {
// A point's cells: the program only for a program start, then the date, and
// an hour's own text in place of its first record's time.
std::vector<std::string> pointCells(const ActionRecord& record, StartOverPoint point) {
    const std::string date = formatActionDate(record.date);
    switch (point) {
    case StartOverPoint::Hour:
        return {date, formatActionHour(record.time)};
    case StartOverPoint::ProgramStart:
        return {programNameOf(record), date, formatActionTime(record.time)};
    case StartOverPoint::Boot:
        break;
    }
    return {date, formatActionTime(record.time)};
}
}  // namespace

std::vector<ListRow> startOverPointRows(const ActionIndex& index, StartOverPoint point,
                                        std::span<const ActionRecord> records) {
    std::span<const int32_t> points = pointsOf(index, point);
    std::vector<ListRow> rows;
    for (size_t position = points.size(); position-- > 0;)
        rows.push_back({pointCells(records[size_t(points[position])], point), int32_t(position)});
    return rows;
}

std::vector<ListRow> startOverRows(const ActionIndex& index, StartOverChoice choice,
                                   std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (int32_t record : startOverRecords(index, choice)) {
        std::vector<std::string> cells = pointCells(records[size_t(record)], choice.point);
        // Every row has a "Program" column; only a program start fills it.
        if (choice.point != StartOverPoint::ProgramStart) cells.insert(cells.begin(), "");
        rows.push_back({std::move(cells), 0});
    }
    return rows;
}

std::vector<int32_t> foundFileRecords(std::span<const ActionRecord> records, int32_t kind, int32_t download) {
    std::vector<int32_t> found;
    for (size_t i = records.size(); i-- > 0;) {
        const ActionRecord& record = records[i];
        if (!record.undone() && !record.isSetting() && record.kind == kind && record.isDownload() == download)
            found.push_back(int32_t(i));
    }
    return found;
}

std::vector<ListRow> foundFileRows(std::span<const int32_t> indices, std::span<const ActionRecord> records) {
    std::vector<ListRow> rows;
    for (int32_t index : indices) {
        const ActionRecord& record = records[size_t(index)];
        rows.push_back({{programNameOf(record), record.dataA}, index});
    }
    return rows;
}

std::string programSessionsTitle(std::span<const ProgramEntry> programs, int32_t entry,
                                 std::span<const ActionRecord> records) {
    const int32_t standIn =
        entry < 0 || size_t(entry) >= programs.size() ? -1 : standInRecord(programs[size_t(entry)], ProgramsListed::All);
    if (standIn < 0 || size_t(standIn) >= records.size()) return "Program sessions";
    return "Program " + programNameOf(records[size_t(standIn)]) + " sessions";
}

std::string appletSessionsTitle(std::span<const AppletEntry> applets, int32_t entry) {
    if (entry < 0 || size_t(entry) >= applets.size()) return "Control Panel Select session";
    return "Control Panel " + std::string(fileNameOf(applets[size_t(entry)].appletPath)) + " Select session";
}
