#include "database/action_list.h"

#include <cstdint>
#include <cstring>

#include "base/little_endian.h"

std::vector<ActionRecord> actionList;
uint64_t actionListChanges = 0;

namespace {

constexpr size_t nameSize = sizeof ActionRecord{}.programName;
constexpr size_t slotCount = 10;

// A record as it lies in the buffer, its parts still pointing into it, so
// the whole file can be checked before anything is allocated.
struct RecordView {
    std::string_view programName;
    std::string_view programPath;
    int32_t processId, kind;
    uint16_t date, time;
    int32_t source;
    std::string_view dataA, dataB, dataC;
    std::string_view slots;
    size_t next;

    int32_t slot(size_t index) const { return int32_t(readLe32(slots.data() + 4 * index)); }
    int32_t undone() const { return slot(3); }
};

std::optional<RecordView> viewRecord(std::string_view bytes, size_t offset) {
    if (offset > bytes.size()) return std::nullopt;
    ByteCursor in(bytes.substr(offset));
    RecordView view;
    bool whole = in.take(nameSize, view.programName) && in.part(view.programPath) && in.le32(view.processId) &&
                 in.le32(view.kind) && in.le16(view.date) && in.le16(view.time) && in.le32(view.source) &&
                 in.part(view.dataA) && in.part(view.dataB) && in.part(view.dataC) &&
                 in.take(4 * slotCount, view.slots);
    if (!whole) return std::nullopt;
    view.next = bytes.size() - in.remaining();
    return view;
}

ActionRecord recordFrom(const RecordView& view, const RecordTextBulk& texts) {
    ActionRecord record;
    std::memcpy(record.programName, view.programName.data(), nameSize - 1);
    record.programPath = texts.interned(view.programPath);
    record.processId = view.processId;
    record.kind = view.kind;
    record.date = view.date;
    record.time = view.time;
    record.source = view.source;
    record.dataA = texts.stored(view.dataA);
    record.dataB = texts.stored(view.dataB);
    record.dataC = view.source == sourceRegistryReport ? texts.shared(view.dataC) : texts.stored(view.dataC);
    record.sizeA = view.slot(0);
    record.sizeB = view.slot(1);
    record.valueType = view.slot(2);
    RecordFlags::Values flags;
    for (size_t i = 0; i < flags.size(); ++i) flags[i] = view.slot(slotCount - flags.size() + i);
    record.setFlags(flags);
    return record;
}

size_t serializedSize(const ActionRecord& record) {
    return 81 + record.programPath.size() + record.dataA.size() + record.dataB.size() + record.dataC.size();
}

}  // namespace

std::string actionListBackupName(int attempt) {
    if (attempt <= 1) return std::string("BACKUP ") + actionListFileName;
    return "BACKUP " + std::to_string(attempt) + " " + actionListFileName;
}

std::optional<ParsedRecord> parseRecord(std::string_view bytes, size_t offset) {
    auto view = viewRecord(bytes, offset);
    if (!view) return std::nullopt;
    return ParsedRecord{recordFrom(*view, RecordTextBulk{}), view->next};
}

void serializeRecord(const ActionRecord& record, std::string& out) {
    size_t start = out.size();
    out.resize(start + serializedSize(record));
    char* p = out.data() + start;
    std::memcpy(p, record.programName, nameSize - 1);
    p[nameSize - 1] = '\0';
    p += nameSize;
    p = storePart(p, record.programPath);
    p = storeLe32(p, uint32_t(record.processId));
    p = storeLe32(p, uint32_t(record.kind));
    p = storeLe16(p, record.date);
    p = storeLe16(p, record.time);
    p = storeLe32(p, uint32_t(record.source));
    p = storePart(p, record.dataA);
    p = storePart(p, record.dataB);
    p = storePart(p, record.dataC);
    for (int32_t slot : {record.sizeA, record.sizeB, record.valueType}) p = storeLe32(p, uint32_t(slot));
    for (int32_t slot : record.flags()) p = storeLe32(p, uint32_t(slot));
}

ParsedActionList parseActionList(std::string_view bytes) {
    // One pass. No record is shorter than 81 bytes, so that many always
    // fit; the rest is room for the records of many rebuilds: growing the
    // array moves every record, which a tray click must not wait for. Room
    // never filled is never touched, so it costs no memory in use.
    const size_t most = bytes.size() / 81;
    ParsedActionList parsed;
    parsed.records.reserve(most + most / 4 + 4096);
    RecordTextBulk texts;
    for (size_t offset = 0; offset < bytes.size();) {
        auto view = viewRecord(bytes, offset);
        if (!view) return {{}, true};
        if (view->undone() == 0) parsed.records.push_back(recordFrom(*view, texts));
        offset = view->next;
    }
    return parsed;
}

std::vector<ActionRecord> readableActionRecords(std::string_view bytes) {
    std::vector<ActionRecord> records;
    RecordTextBulk texts;
    for (size_t offset = 0; offset < bytes.size();) {
        auto view = viewRecord(bytes, offset);
        if (!view) break;
        records.push_back(recordFrom(*view, texts));
        offset = view->next;
    }
    return records;
}

std::string serializeActionList(const std::vector<ActionRecord>& records) {
    return *serializeActionListUnless(records, [] { return false; });
}

std::optional<std::string> serializeActionListUnless(const std::vector<ActionRecord>& records,
                                                     const std::function<bool()>& giveUp) {
    constexpr size_t recordsBetweenAsks = 16384;
    size_t total = 0;
    for (const ActionRecord& record : records) total += serializedSize(record);
    std::string out;
    out.reserve(total);
    for (size_t index = 0; index < records.size(); ++index) {
        if (index % recordsBetweenAsks == 0 && giveUp()) return std::nullopt;
        serializeRecord(records[index], out);
    }
    return out;
}
