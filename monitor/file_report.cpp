#include "monitor/file_report.h"

#include <cstdio>
#include <optional>
#include <unordered_map>

#include "base/ignore_case_hash.h"
#include "base/paths.h"
#include "base/text.h"
#include "monitor/report_bytes.h"

namespace {

// One entry at the cursor. An entry whose strings are too long for the
// program's path buffers is stepped over whole, so the entries behind it
// are still read.
EntryRead readEntry(ByteCursor& in, FileReportEntry& entry) {
    std::string_view path, programName, programPath, otherPath, markerText;
    bool whole = in.part(path) && in.take(8, programName) && in.part(programPath) && in.le32(entry.processId) &&
                 in.le16(entry.date) && in.le16(entry.time) && in.le32(entry.size) && in.le32(entry.extra) &&
                 in.le32(entry.kind) && in.part(otherPath) && in.take(8, markerText);
    if (!whole) return EntryRead::CutShort;
    for (std::string_view text : {path, programPath, otherPath})
        if (text.size() > maxReportPathLength) return EntryRead::Skipped;
    entry.path = reportText(path);
    setReportName(entry.programName, programName);
    entry.programPath = reportText(programPath);
    entry.otherPath = reportText(otherPath);
    entry.otherPathAsWritten = otherPath.substr(0, otherPath.find('\0'));
    setReportName(entry.markerText, markerText);
    return EntryRead::Taken;
}

// Paths compare without regard to the case of A-Z, whatever case a history
// record kept. Keys view strings that must neither change nor move while the
// map is used.
template <class Value>
using PathMap = std::unordered_map<std::string_view, Value, IgnoreCaseHash, IgnoreCaseEqual>;

constexpr size_t none = size_t(-1);

std::string_view folderPartOf(std::string_view path) {
    size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

bool isByExplorer(const FileReportEntry& entry) {
    return equalsIgnoreCase(std::string_view(entry.programName, std::char_traits<char>::length(entry.programName)),
                            "explorer");
}

// Explorer moves a file as a create in the new folder followed by a delete in
// the old one, under the same file name.
bool isExplorerMovePair(const FileReportEntry& created, const FileReportEntry& deleted) {
    return created.kind == kindCreate && deleted.kind == kindDelete && isByExplorer(created) && isByExplorer(deleted) &&
           equalsIgnoreCase(fileNameOf(created.path), fileNameOf(deleted.path)) &&
           !equalsIgnoreCase(folderPartOf(created.path), folderPartOf(deleted.path));
}

// For each entry, the index of the first entry behind it with the same path,
// or `none`.
std::vector<size_t> nextWithSamePath(const std::vector<FileReportEntry>& entries) {
    std::vector<size_t> next(entries.size(), none);
    PathMap<size_t> nearest;
    nearest.reserve(entries.size());
    for (size_t i = entries.size(); i-- > 0;) {
        auto [found, added] = nearest.try_emplace(entries[i].path, i);
        if (!added) {
            next[i] = found->second;
            found->second = i;
        }
    }
    return next;
}

// The size a created file is shown with: that of the next entry for its
// path, else, when it is still 0, the file's size now.
void settleCreatedSize(FileReportEntry& entry, size_t nextSame, const std::vector<FileReportEntry>& entries,
                       const std::function<uint32_t(const std::string&)>& currentFileSize) {
    if (nextSame != none) entry.size = entries[nextSame].size;
    if (entry.size == 0) entry.size = currentFileSize(entry.path);
}

// Where a file inside the Recycle Bin was before it was recycled: the first
// Recycle entry of the report that put it there, else what the history
// says. Recycle entries are never changed or removed by the first pass, so
// the index built before it stays true.
class RecycleOrigins {
public:
    RecycleOrigins(const std::vector<FileReportEntry>& entries, const RecycledFromHistory& history)
        : entries_(entries), history_(history) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].kind == kindRecycle) inReport_.try_emplace(entries[i].otherPath, i);
    }

    std::optional<std::string_view> find(std::string_view binPath) const {
        if (auto found = inReport_.find(binPath); found != inReport_.end()) return entries_[found->second].path;
        return history_ ? history_(binPath) : std::nullopt;
    }

private:
    const std::vector<FileReportEntry>& entries_;
    const RecycledFromHistory& history_;
    PathMap<size_t> inReport_;
};

// Copies, moves, recycle origins and the sizes of plain creates. The second
// half of a move pair is only marked here, so no entry moves while the
// indices are in use; when entry i is reached, every entry behind it is still
// as read. Answers which entries the pairs absorbed.
std::vector<bool> firstPass(std::vector<FileReportEntry>& entries, const RecycledFromHistory& history,
                            const std::function<uint32_t(const std::string&)>& currentFileSize) {
    std::vector<bool> absorbed(entries.size(), false);
    const std::vector<size_t> nextSame = nextWithSamePath(entries);
    RecycleOrigins recycleOrigins(entries, history);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (absorbed[i]) continue;
        FileReportEntry& entry = entries[i];
        const bool pairsWithNext = i + 1 < entries.size() && isExplorerMovePair(entry, entries[i + 1]);

        if (entry.kind == kindCreate && isByExplorer(entry) && !pairsWithNext) entry.kind = kindCopy;

        if (entry.kind == kindRename && equalsIgnoreCase(fileNameOf(entry.path), fileNameOf(entry.otherPath)))
            entry.kind = kindMove;
        if (pairsWithNext) {
            FileReportEntry& source = entries[i + 1];
            entry.kind = kindMove;
            entry.otherPath = std::move(entry.path);
            entry.path = std::move(source.path);
            entry.size = source.size;
            absorbed[i + 1] = true;
        }

        if (entry.kind == kindDelete)
            if (std::optional<std::string_view> formerPath = recycleOrigins.find(entry.path)) entry.path = *formerPath;

        if (entry.kind == kindCreate) settleCreatedSize(entry, nextSame[i], entries, currentFileSize);
    }
    return absorbed;
}

void dropAbsorbed(std::vector<FileReportEntry>& entries, const std::vector<bool>& absorbed) {
    size_t kept = 0;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!absorbed[i]) {
            if (kept != i) entries[kept] = std::move(entries[i]);
            ++kept;
        }
    entries.resize(kept);
}

// Creates and copies sized again against the final paths. Each entry reads
// only entries behind it, which this pass has not changed yet.
void secondPass(std::vector<FileReportEntry>& entries,
                const std::function<uint32_t(const std::string&)>& currentFileSize) {
    const std::vector<size_t> nextSame = nextWithSamePath(entries);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].kind == kindCreate || entries[i].kind == kindCopy)
            settleCreatedSize(entries[i], nextSame[i], entries, currentFileSize);
}

}  // namespace

std::vector<FileReportEntry> parseFileReport(std::string_view bytes, size_t* wholeBytes) {
    return readReportEntries<FileReportEntry>(bytes, readEntry, wholeBytes);
}

std::string serializeFileReportEntry(const FileReportEntry& entry) {
    std::string out;
    out.reserve(48 + entry.path.size() + entry.programPath.size() + entry.otherPath.size());
    appendPart(out, entry.path);
    out.append(entry.programName, 8);
    appendPart(out, entry.programPath);
    appendLe32(out, entry.processId);
    appendLe16(out, entry.date);
    appendLe16(out, entry.time);
    appendLe32(out, entry.size);
    appendLe32(out, entry.extra);
    appendLe32(out, uint32_t(entry.kind));
    appendPart(out, entry.otherPath);
    out.append(entry.markerText, 8);
    return out;
}

bool fitsFileReport(const FileReportEntry& entry) {
    return entry.path.size() <= maxReportPathLength && entry.programPath.size() <= maxReportPathLength &&
           entry.otherPath.size() <= maxReportPathLength;
}

std::string bootMarkerText(uint16_t date, uint16_t time) {
    char text[9];
    std::snprintf(text, sizeof text, "%04X%04X", unsigned(date), unsigned(time));
    return text;
}

void postProcessFileReport(std::vector<FileReportEntry>& entries, const RecycledFromHistory& history,
                           const std::function<uint32_t(const std::string&)>& currentFileSize) {
    dropAbsorbed(entries, firstPass(entries, history, currentFileSize));
    secondPass(entries, currentFileSize);
}
