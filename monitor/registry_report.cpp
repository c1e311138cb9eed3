#include "monitor/registry_report.h"

#include "monitor/file_report.h"
#include "monitor/report_bytes.h"

namespace {

// One entry at the cursor. An entry whose paths are too long for the
// program's buffers is stepped over whole, so the entries behind it are
// still read.
EntryRead readEntry(ByteCursor& in, RegistryReportEntry& entry) {
    std::string_view programName, oldData, newData, registryPath, programPath;
    bool whole = in.take(8, programName) && in.le32(entry.processId) && in.le32(entry.kind) &&
                 in.le32(entry.valueType) && in.le32(entry.unused) && in.le16(entry.date) && in.le16(entry.time) &&
                 in.part(oldData) && in.part(newData) && in.part(registryPath) && in.part(programPath);
    if (!whole) return EntryRead::CutShort;
    if (registryPath.size() > maxRegistryPathLength || programPath.size() > maxReportPathLength)
        return EntryRead::Skipped;
    setReportName(entry.programName, programName);
    entry.oldData = oldData;
    entry.newData = newData;
    entry.registryPath = reportText(registryPath);
    entry.programPath = reportText(programPath);
    return EntryRead::Taken;
}

}  // namespace

std::vector<RegistryReportEntry> parseRegistryReport(std::string_view bytes, size_t* wholeBytes) {
    return readReportEntries<RegistryReportEntry>(bytes, readEntry, wholeBytes);
}

std::string serializeRegistryReportEntry(const RegistryReportEntry& entry) {
    std::string out;
    out.reserve(44 + entry.oldData.size() + entry.newData.size() + entry.registryPath.size() +
                entry.programPath.size());
    out.append(entry.programName, 8);
    appendLe32(out, entry.processId);
    appendLe32(out, uint32_t(entry.kind));
    appendLe32(out, entry.valueType);
    appendLe32(out, entry.unused);
    appendLe16(out, entry.date);
    appendLe16(out, entry.time);
    appendPart(out, entry.oldData);
    appendPart(out, entry.newData);
    appendPart(out, entry.registryPath);
    appendPart(out, entry.programPath);
    return out;
}

bool fitsRegistryReport(const RegistryReportEntry& entry) {
    return entry.registryPath.size() <= maxRegistryPathLength && entry.programPath.size() <= maxReportPathLength;
}
