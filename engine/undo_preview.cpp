#include "engine/undo_preview.h"

#include <algorithm>

#include "base/text.h"

namespace {

// Registry value types, as the registry numbers them.
constexpr uint32_t typeString = 1;
constexpr uint32_t typeExpandString = 2;
constexpr uint32_t typeDword = 4;
constexpr uint32_t typeMultiString = 7;

// Above this many cells the middle is paired line by line rather than aligned.
constexpr size_t alignmentCellLimit = 4'000'000;

std::string shownLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string shown;
    for (char c : line) {
        if (c == '\t')
            shown += "    ";
        else
            shown += c;
    }
    return shown;
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            if (start < text.size()) lines.push_back(shownLine(text.substr(start)));
            break;
        }
        lines.push_back(shownLine(text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

// Adds the lines earlier[e0, e1) and now[n0, n1), which share nothing: facing
// lines are changed, the rest stand alone.
void addDiffering(std::vector<PreviewLine>& out, const std::vector<std::string>& earlier, size_t e0, size_t e1,
                  const std::vector<std::string>& now, size_t n0, size_t n1) {
    while (e0 < e1 || n0 < n1) {
        PreviewLine line;
        if (e0 < e1) {
            line.earlierNumber = e0 + 1;
            line.earlier = earlier[e0++];
        }
        if (n0 < n1) {
            line.nowNumber = n0 + 1;
            line.now = now[n0++];
        }
        line.mark = line.earlierNumber == 0 ? LineMark::OnlyNow
                    : line.nowNumber == 0   ? LineMark::OnlyEarlier
                                            : LineMark::Changed;
        out.push_back(std::move(line));
    }
}

void addSame(std::vector<PreviewLine>& out, const std::vector<std::string>& earlier, size_t e,
             const std::vector<std::string>& now, size_t n) {
    out.push_back({e + 1, n + 1, earlier[e], now[n], LineMark::Same});
}

// Aligns earlier[e0, e1) with now[n0, n1) by their longest common sequence
// of lines.
void alignMiddle(std::vector<PreviewLine>& out, const std::vector<std::string>& earlier, size_t e0, size_t e1,
                 const std::vector<std::string>& now, size_t n0, size_t n1) {
    size_t rows = e1 - e0, columns = n1 - n0;
    if (rows == 0 || columns == 0 || rows * columns > alignmentCellLimit) {
        addDiffering(out, earlier, e0, e1, now, n0, n1);
        return;
    }
    // common[i][j]: the longest common sequence of the lines from e0+i and n0+j on.
    std::vector<uint32_t> common((rows + 1) * (columns + 1), 0);
    auto at = [&](size_t i, size_t j) -> uint32_t& { return common[i * (columns + 1) + j]; };
    for (size_t i = rows; i-- > 0;)
        for (size_t j = columns; j-- > 0;)
            at(i, j) = earlier[e0 + i] == now[n0 + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    size_t i = 0, j = 0, runI = 0, runJ = 0;
    while (i < rows && j < columns) {
        if (earlier[e0 + i] == now[n0 + j]) {
            addDiffering(out, earlier, e0 + runI, e0 + i, now, n0 + runJ, n0 + j);
            addSame(out, earlier, e0 + i, now, n0 + j);
            runI = ++i;
            runJ = ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
    addDiffering(out, earlier, e0 + runI, e1, now, n0 + runJ, n1);
}

const char* markText(LineMark mark) {
    switch (mark) {
    case LineMark::Same: return "";
    case LineMark::Changed: return "<>";
    case LineMark::OnlyEarlier: return "<";
    case LineMark::OnlyNow: return ">";
    }
    return "";
}

std::string numberOrBlank(size_t number) { return number == 0 ? std::string() : std::to_string(number); }

bool isFileAction(const ActionRecord& record) {
    return record.source == sourceFileReport && record.kind >= kindCreate && record.kind <= kindMove &&
           record.kind != kindBootMarker;
}

std::string twoDigits(int value) { return std::string(1, char('0' + value / 10)) + char('0' + value % 10); }

std::string stringData(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

std::string hexData(std::string_view data) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    size_t shown = std::min<size_t>(data.size(), 32);
    for (size_t i = 0; i < shown; ++i) {
        if (i) text += ' ';
        auto byte = uint8_t(data[i]);
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    if (shown < data.size()) text += " ...";
    return text;
}

// The key a registry record's path names, and its value's name.
std::pair<std::string, std::string> keyAndValueName(const std::string& path) {
    size_t last = path.rfind('\\');
    if (last == std::string::npos) return {path, "(Default)"};
    std::string name = path.substr(last + 1);
    return {path.substr(0, last), name.empty() ? "(Default)" : name};
}

void addRegistryRow(std::vector<ListRow>& rows, const ActionRecord& record, int32_t index, const SettingsNow& now) {
    std::optional<RegistryUndo> undo = registryUndoOf(record);
    if (!undo) return;
    auto [key, valueName] = keyAndValueName(record.dataC);
    if (undo->action == RegistryUndo::Action::DeleteKey) {
        rows.push_back({{key, "", "(key)", "removed"}, index});
        return;
    }
    std::optional<RegistryValueNow> value = now.registryValue ? now.registryValue(undo->path) : std::nullopt;
    std::string nowText = value ? registryValueText(value->type, value->data) : "(none)";
    // A value the program made is taken away, not written back empty.
    std::string backText = undo->action == RegistryUndo::Action::DeleteValue
                               ? "removed"
                               : registryValueText(undo->valueType, undo->data);
    rows.push_back({{key, valueName, nowText, backText}, index});
}

void addIniRows(std::vector<ListRow>& rows, const ActionRecord& record, int32_t index, const SettingsNow& now) {
    auto texts = now.iniTexts ? now.iniTexts(index) : std::nullopt;
    if (!texts) {
        rows.push_back({{record.dataA, "", "", std::string(earlierVersionMissing)}, index});
        return;
    }
    if (sameSettingsText(texts->earlier, texts->later)) return;
    struct Entry {
        std::string section, key, now = "(none)", back = "(empty)";
    };
    std::vector<Entry> entries;
    for (const IniChange& change : diffIniTexts(texts->earlier, texts->later)) {
        auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
            return equalsIgnoreCase(entry.section, change.section) && equalsIgnoreCase(entry.key, change.key);
        });
        if (found == entries.end()) found = entries.insert(entries.end(), Entry{change.section, change.key});
        (change.operation == IniOperation::clear ? found->now : found->back) = change.value;
    }
    for (const Entry& entry : entries)
        rows.push_back({{record.dataA + " [" + entry.section + "]", entry.key, entry.now, entry.back}, index});
}

}  // namespace

bool looksLikeText(std::string_view bytes) {
    size_t controls = 0;
    for (char c : bytes) {
        auto byte = uint8_t(c);
        if (byte == 0) return false;
        if (byte < 32 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != 27) ++controls;
    }
    // A stray control character or two, one in a hundred bytes at most.
    return controls * 100 <= bytes.size() && controls < 2 + bytes.size() / 100;
}

std::vector<PreviewLine> sideBySideLines(std::string_view earlier, std::string_view now) {
    std::vector<std::string> earlierLines = linesOf(earlier), nowLines = linesOf(now);
    size_t e1 = earlierLines.size(), n1 = nowLines.size();
    // The lines both share at the start and at the end need no alignment.
    size_t head = 0;
    while (head < e1 && head < n1 && earlierLines[head] == nowLines[head]) ++head;
    size_t tail = 0;
    while (tail < e1 - head && tail < n1 - head && earlierLines[e1 - 1 - tail] == nowLines[n1 - 1 - tail]) ++tail;

    std::vector<PreviewLine> out;
    for (size_t i = 0; i < head; ++i) addSame(out, earlierLines, i, nowLines, i);
    alignMiddle(out, earlierLines, head, e1 - tail, nowLines, head, n1 - tail);
    for (size_t i = tail; i > 0; --i) addSame(out, earlierLines, e1 - i, nowLines, n1 - i);
    return out;
}

std::vector<ListRow> textPreviewRows(std::span<const PreviewLine> lines) {
    std::vector<ListRow> rows;
    rows.reserve(lines.size());
    for (const PreviewLine& line : lines)
        rows.push_back({{numberOrBlank(line.earlierNumber ? line.earlierNumber : line.nowNumber), markText(line.mark),
                         line.earlier, line.now},
                        int32_t(rows.size())});
    return rows;
}

std::string fileUndoWords(const ActionRecord& record, const std::string& restoreName, bool folderMissing) {
    std::string folderWords = folderMissing ? " Its folder is gone and will be made again." : "";
    switch (record.kind) {
    case kindCreate:
    case kindCopy: return "The undo sends " + record.dataA + " to the Recycle Bin.";
    case kindRename: return "The undo renames " + record.dataB + " back to " + record.dataA + ".";
    case kindMove: return "The undo moves " + record.dataB + " back to " + record.dataA + ".";
    case kindModify:
        return "The earlier version comes back beside " + record.dataA + ", as " + restoreName + "." + folderWords;
    case kindDelete:
        return "The deleted file comes back as " + restoreName + "." + folderWords;
    case kindRecycle:
        return "The file comes back from the Recycle Bin to " + record.dataA + "." + folderWords;
    default: return "The undo does nothing with files.";
    }
}

RecordText pathLeftBy(const ActionRecord& record) {
    return record.kind == kindRename || record.kind == kindMove ? record.dataB : record.dataA;
}

std::optional<size_t> laterFileAction(std::span<const ActionRecord> records, size_t index) {
    if (index >= records.size()) return std::nullopt;
    const RecordText path = pathLeftBy(records[index]);
    for (size_t later = index + 1; later < records.size(); ++later) {
        const ActionRecord& record = records[later];
        if (isFileAction(record) && !record.undone() && equalsIgnoreCase(record.dataA, path)) return later;
    }
    return std::nullopt;
}

std::optional<std::string> changedSinceNotice(std::span<const ActionRecord> records, size_t index,
                                              const FileNow& now) {
    if (index >= records.size() || !isFileAction(records[index])) return std::nullopt;
    const std::string kept = ": the later version is kept beside the one that comes back.";
    if (std::optional<size_t> later = laterFileAction(records, index)) {
        const ActionRecord& record = records[*later];
        return "Changed since " + formatHourMinute(record.time) + " by " + displayCase(fieldText(record.programName)) +
               kept;
    }
    const ActionRecord& record = records[index];
    bool leftNothing = record.kind == kindDelete || record.kind == kindRecycle;
    bool changed = leftNothing ? now.exists : !now.exists || now.size != uint32_t(record.sizeA);
    if (!changed) return std::nullopt;
    if (!now.exists) return "Changed since: the file is gone.";
    return "Changed since " + formatHourMinute(now.time) + kept;
}

std::string registryValueText(uint32_t type, std::string_view data) {
    if (data.empty()) return "(empty)";
    switch (type) {
    case typeString:
    case typeExpandString: return stringData(data);
    case typeDword: {
        if (data.size() < 4) return hexData(data);
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(data[size_t(i)]);
        return std::to_string(value);
    }
    case typeMultiString: {
        std::string text;
        for (size_t start = 0; start < data.size() && data[start] != '\0';) {
            size_t end = std::min(data.find('\0', start), data.size());
            if (!text.empty()) text += " | ";
            text += data.substr(start, end - start);
            start = end + 1;
        }
        return text;
    }
    default: return hexData(data);
    }
}

std::vector<ListRow> settingRows(std::span<const ActionRecord> records, std::span<const int32_t> order,
                                 const SettingsNow& now) {
    std::vector<ListRow> rows;
    for (int32_t index : order) {
        if (index < 0 || size_t(index) >= records.size()) continue;
        const ActionRecord& record = records[size_t(index)];
        if (record.isIniFile())
            addIniRows(rows, record, index, now);
        else if (record.source == sourceRegistryReport)
            addRegistryRow(rows, record, index, now);
    }
    return rows;
}

std::string formatHourMinute(uint16_t time) { return twoDigits(time >> 11) + ":" + twoDigits((time >> 5) & 63); }

std::string sessionPreviewWords(std::span<const ActionRecord> records, std::span<const int32_t> order) {
    size_t files = 0;
    for (int32_t index : order)
        if (index >= 0 && size_t(index) < records.size() && isFileAction(records[size_t(index)]) &&
            !records[size_t(index)].isIniFile())
            ++files;
    std::string words = "The undo puts back these settings, the last change first.";
    if (files == 1) words += " It also takes back 1 file action.";
    if (files > 1) words += " It also takes back " + std::to_string(files) + " file actions.";
    return words;
}
