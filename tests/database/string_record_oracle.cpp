#include "tests/database/string_record_oracle.h"

#include <cstring>
#include <optional>

#include "base/dos_time.h"
#include "base/little_endian.h"
#include "base/text.h"
#include "database/action_record.h"

namespace {

struct Parsed {
    StringRecord record;
    size_t next;
};

std::optional<Parsed> parseOne(std::string_view bytes, size_t offset) {
    ByteCursor in(bytes.substr(offset));
    std::string_view name, path, a, b, c, slots;
    StringRecord r;
    if (!(in.take(9, name) && in.part(path) && in.le32(r.processId) && in.le32(r.kind) && in.le16(r.date) &&
          in.le16(r.time) && in.le32(r.source) && in.part(a) && in.part(b) && in.part(c) && in.take(40, slots)))
        return std::nullopt;
    std::memcpy(r.programName, name.data(), 8);
    r.programPath = path;
    r.dataA = a;
    r.dataB = b;
    r.dataC = c;
    for (size_t i = 0; i < 10; ++i) r.slots[i] = int32_t(readLe32(slots.data() + 4 * i));
    return Parsed{r, bytes.size() - in.remaining()};
}

template <class Entry>
StringRecord ofProcess(const Entry& entry, int32_t source) {
    StringRecord r;
    setFieldText(r.programName, fieldText(entry.programName));
    r.programPath = entry.programPath;
    r.processId = int32_t(entry.processId);
    r.kind = entry.kind;
    r.date = entry.date;
    r.time = entry.time;
    r.source = source;
    return r;
}

StringRecord fromFile(const FileReportEntry& entry) {
    StringRecord r = ofProcess(entry, sourceFileReport);
    r.slots[0] = int32_t(entry.size);
    r.slots[1] = int32_t(entry.extra);
    r.dataA = entry.kind == kindBootMarker ? std::string(fieldText(entry.markerText)) : entry.path;
    if (entry.kind == kindRename || entry.kind == kindMove) r.dataB = entry.otherPath;
    else if (entry.kind != kindCreate && entry.kind != kindCopy && entry.kind != kindBootMarker)
        r.dataC = entry.otherPath;
    return r;
}

StringRecord fromRegistry(const RegistryReportEntry& entry) {
    StringRecord r = ofProcess(entry, sourceRegistryReport);
    r.dataA = entry.oldData;
    r.dataB = entry.newData;
    r.dataC = entry.registryPath;
    r.slots[0] = int32_t(entry.oldData.size());
    r.slots[1] = int32_t(entry.newData.size());
    r.slots[2] = int32_t(entry.valueType);
    return r;
}

}  // namespace

StringRecordList parseStringRecords(std::string_view bytes) {
    StringRecordList list;
    for (size_t offset = 0; offset < bytes.size();) {
        auto parsed = parseOne(bytes, offset);
        if (!parsed) return {{}, true};
        if (parsed->record.slots[3] == 0) list.records.push_back(parsed->record);
        offset = parsed->next;
    }
    return list;
}

std::vector<StringRecord> readableStringRecords(std::string_view bytes) {
    std::vector<StringRecord> records;
    for (size_t offset = 0; offset < bytes.size();) {
        auto parsed = parseOne(bytes, offset);
        if (!parsed) break;
        records.push_back(parsed->record);
        offset = parsed->next;
    }
    return records;
}

std::string serializeStringRecords(const std::vector<StringRecord>& records) {
    std::string out;
    auto le32 = [&](uint32_t v) { out.append({char(v), char(v >> 8), char(v >> 16), char(v >> 24)}); };
    auto le16 = [&](uint16_t v) { out.append({char(v), char(v >> 8)}); };
    auto part = [&](const std::string& text) {
        le32(uint32_t(text.size()));
        out += text;
    };
    for (const StringRecord& r : records) {
        out.append(r.programName, 8);
        out += '\0';
        part(r.programPath);
        le32(uint32_t(r.processId));
        le32(uint32_t(r.kind));
        le16(r.date);
        le16(r.time);
        le32(uint32_t(r.source));
        part(r.dataA);
        part(r.dataB);
        part(r.dataC);
        for (int32_t slot : r.slots) le32(uint32_t(slot));
    }
    return out;
}

void mergeIntoStringRecords(const std::vector<FileReportEntry>& files,
                            const std::vector<RegistryReportEntry>& registry, std::vector<StringRecord>& records) {
    auto file = files.begin();
    auto reg = registry.begin();
    while (file != files.end() && reg != registry.end()) {
        if (compareDosMoments(file->date, file->time, reg->date, reg->time) > 0) records.push_back(fromRegistry(*reg++));
        else records.push_back(fromFile(*file++));
    }
    for (; file != files.end(); ++file) records.push_back(fromFile(*file));
    for (; reg != registry.end(); ++reg) records.push_back(fromRegistry(*reg));
}
