#include "database/action_list.h"

#include <cstdint>
#include <cstring>

std::vector<ActionRecord> actionList;

namespace {

constexpr size_t nameSize = sizeof ActionRecord{}.programName;
constexpr size_t slotCount = 10;

inline uint32_t readLe32(const char* p) {
    auto byte = [p](int i) { return uint32_t(uint8_t(p[i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

inline uint16_t readLe16(const char* p) { return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8); }

inline char* writeLe32(char* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = char(value >> (8 * i));
    return p + 4;
}

inline char* writeLe16(char* p, uint16_t value) {
    p[0] = char(value);
    p[1] = char(value >> 8);
    return p + 2;
}

inline char* writePart(char* p, std::string_view part) {
    p = writeLe32(p, uint32_t(part.size()));
    std::memcpy(p, part.data(), part.size());
    return p + part.size();
}

// Reads forward through the buffer. Every read first checks that its bytes
// remain; after a failed check the reader stays failed and reads nothing.
class Reader {
public:
    Reader(std::string_view bytes, size_t offset) : bytes_(bytes), offset_(offset), ok_(offset <= bytes.size()) {}

    bool ok() const { return ok_; }
    size_t offset() const { return offset_; }

    const char* take(size_t count) {
        if (!ok_ || count > bytes_.size() - offset_) {
            ok_ = false;
            return nullptr;
        }
        const char* start = bytes_.data() + offset_;
        offset_ += count;
        return start;
    }
    uint32_t u32() {
        const char* p = take(4);
        return p ? readLe32(p) : 0;
    }
    uint16_t u16() {
        const char* p = take(2);
        return p ? readLe16(p) : 0;
    }
    std::string_view part() {
        uint32_t length = u32();
        const char* p = take(length);
        return p ? std::string_view(p, length) : std::string_view{};
    }

private:
    std::string_view bytes_;
    size_t offset_;
    bool ok_;
};

// A record as it lies in the buffer, its parts still pointing into it, so
// the whole file can be checked before anything is allocated.
struct RecordView {
    const char* programName;
    std::string_view programPath;
    int32_t processId, kind;
    uint16_t date, time;
    int32_t source;
    std::string_view dataA, dataB, dataC;
    const char* slots;
    size_t next;

    int32_t slot(size_t index) const { return int32_t(readLe32(slots + 4 * index)); }
    int32_t undone() const { return slot(3); }
};

std::optional<RecordView> viewRecord(std::string_view bytes, size_t offset) {
    Reader reader(bytes, offset);
    RecordView view;
    view.programName = reader.take(nameSize);
    view.programPath = reader.part();
    view.processId = int32_t(reader.u32());
    view.kind = int32_t(reader.u32());
    view.date = reader.u16();
    view.time = reader.u16();
    view.source = int32_t(reader.u32());
    view.dataA = reader.part();
    view.dataB = reader.part();
    view.dataC = reader.part();
    view.slots = reader.take(4 * slotCount);
    if (!reader.ok()) return std::nullopt;
    view.next = reader.offset();
    return view;
}

ActionRecord recordFrom(const RecordView& view) {
    ActionRecord record;
    std::memcpy(record.programName, view.programName, nameSize - 1);
    record.programPath = view.programPath;
    record.processId = view.processId;
    record.kind = view.kind;
    record.date = view.date;
    record.time = view.time;
    record.source = view.source;
    record.dataA = view.dataA;
    record.dataB = view.dataB;
    record.dataC = view.dataC;
    int32_t* slots[slotCount] = {&record.sizeA,     &record.sizeB,          &record.valueType,  &record.undone,
                                 &record.isSetting, &record.isControlPanel, &record.isExplorer, &record.isBootMarker,
                                 &record.isIniFile, &record.isDownload};
    for (size_t i = 0; i < slotCount; ++i) *slots[i] = view.slot(i);
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
    return ParsedRecord{recordFrom(*view), view->next};
}

void serializeRecord(const ActionRecord& record, std::string& out) {
    size_t start = out.size();
    out.resize(start + serializedSize(record));
    char* p = out.data() + start;
    std::memcpy(p, record.programName, nameSize - 1);
    p[nameSize - 1] = '\0';
    p += nameSize;
    p = writePart(p, record.programPath);
    p = writeLe32(p, uint32_t(record.processId));
    p = writeLe32(p, uint32_t(record.kind));
    p = writeLe16(p, record.date);
    p = writeLe16(p, record.time);
    p = writeLe32(p, uint32_t(record.source));
    p = writePart(p, record.dataA);
    p = writePart(p, record.dataB);
    p = writePart(p, record.dataC);
    for (int32_t slot : {record.sizeA, record.sizeB, record.valueType, record.undone, record.isSetting,
                         record.isControlPanel, record.isExplorer, record.isBootMarker, record.isIniFile,
                         record.isDownload})
        p = writeLe32(p, uint32_t(slot));
}

ParsedActionList parseActionList(std::string_view bytes) {
    // First pass: check every record and count the live ones, so a damaged
    // file costs no allocation and a sound one exactly one for the array.
    size_t live = 0;
    for (size_t offset = 0; offset < bytes.size();) {
        auto view = viewRecord(bytes, offset);
        if (!view) return {{}, true};
        live += view->undone() == 0;
        offset = view->next;
    }
    ParsedActionList parsed;
    parsed.records.reserve(live);
    for (size_t offset = 0; offset < bytes.size();) {
        auto view = viewRecord(bytes, offset);  // fits: the first pass said so
        if (view->undone() == 0) parsed.records.push_back(recordFrom(*view));
        offset = view->next;
    }
    return parsed;
}

std::string serializeActionList(const std::vector<ActionRecord>& records) {
    size_t total = 0;
    for (const ActionRecord& record : records) total += serializedSize(record);
    std::string out;
    out.reserve(total);
    for (const ActionRecord& record : records) serializeRecord(record, out);
    return out;
}
