#include "database/derived_lists.h"

#include <algorithm>
#include <memory_resource>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "base/dos_time.h"
#include "base/ignore_case_hash.h"
#include "base/paths.h"
#include "base/text.h"

std::vector<ProgramEntry> programList;
std::vector<AppletEntry> appletList;
std::vector<FileActionGroup> fileActionList;
ActionIndex actionIndex;
uint32_t derivedListsGeneration = 0;

// Every grouping here asks "the same program (process, folder) as which
// earlier record?". Walking back for each record would cost the square of
// the history at every rebuild, so one pass answers every such question,
// with names and process ids turned into dense ids, and keeps what the lists
// need of each record in a few compact arrays. Nothing is kept from one
// rebuild to the next.

namespace {
std::string_view nameOf(const ActionRecord& record) { return fieldText(record.programName); }

uint64_t pairKey(int32_t id, int32_t processId) { return uint64_t(uint32_t(id)) << 32 | uint32_t(processId); }

// Numbers the distinct keys 0, 1, 2, ... in the order they are first met.
template <class Key, class Hash = std::hash<Key>, class Equal = std::equal_to<Key>>
class DenseIds {
public:
    int32_t idOf(const Key& key) { return ids_.try_emplace(key, int32_t(ids_.size())).first->second; }
    int32_t count() const { return int32_t(ids_.size()); }

private:
    std::unordered_map<Key, int32_t, Hash, Equal> ids_;
};

bool sameFolder(std::string_view a, std::string_view b) {
    return equalsIgnoreCase(containingFolder(a), containingFolder(b));
}

// Whether `record` continues the operation of `earlier`, the nearest live
// record before it.
bool continuesOperation(const ActionRecord& earlier, const ActionRecord& record) {
    if (earlier.processId != record.processId || earlier.kind != record.kind) return false;
    switch (record.kind) {
    case kindDelete:
    case kindRecycle:
        return sameFolder(earlier.dataA, record.dataA);
    case kindCopy:
    case kindMove:
        // A Copy has no second path, so copies into any folders continue.
        return sameFolder(earlier.dataA, record.dataA) || sameFolder(earlier.dataB, record.dataB);
    default:
        return false;
    }
}

enum Trait : uint16_t {
    live = 1,             // undone is 0
    setting = 2,          // isSetting nonzero
    explorer = 4,         // isExplorer
    controlPanel = 8,     // isControlPanel
    bootFlag = 16,        // isBootMarker
    iniFile = 32,         // isIniFile
    fromRegistry = 64,    // source 2
    namesAProgram = 128,  // a live record, process id not 0, named, neither shell nor applet
    namesAnApplet = 256,  // a live record of an applet, process id not 0
};

uint16_t traitsOf(const ActionRecord& r) {
    uint16_t traits = (r.undone() == 0 ? live : 0) | (r.isSetting() ? setting : 0) | (r.isExplorer() ? explorer : 0) |
                      (r.isControlPanel() ? controlPanel : 0) | (r.isBootMarker() ? bootFlag : 0) |
                      (r.isIniFile() ? iniFile : 0) | (r.source == sourceRegistryReport ? fromRegistry : 0);
    if (r.undone() == 0 && r.processId != 0 && !nameOf(r).empty() && !r.isExplorer() && !r.isControlPanel())
        traits |= namesAProgram;
    if (r.undone() == 0 && r.processId != 0 && r.isControlPanel()) traits |= namesAnApplet;
    return traits;
}

// What the lists need of every record, from one pass over the history.
// It, and the arrays the lists are worked out with, come from `scratch`. A rebuild takes them all from one
// allocation, which a long history makes large enough to go back to the
// system when freed; arrays of their own would leave the heap megabytes
// larger after every rebuild.
struct Summary {
    explicit Summary(std::pmr::memory_resource* scratch)
        : scratch(scratch), traits(scratch), pathLengths(scratch), names(scratch), runs(scratch),
          runStarts(scratch), programStarts(scratch), groupStarts(scratch), stops(scratch), hourStarts(scratch) {}

    std::pmr::memory_resource* scratch;
    std::pmr::vector<uint16_t> traits;
    std::pmr::vector<uint32_t> pathLengths;  // of programPath, kept here to spare a look at the record
    std::pmr::vector<int32_t> names;  // program name id, case ignored
    int32_t nameCount = 0;
    std::pmr::vector<int32_t> runs;  // (program name, process id) id
    int32_t runCount = 0;
    // isRunStart: no live record of the run since the last boot marker (kind 6).
    std::pmr::vector<uint8_t> runStarts;
    // isProgramStart: no record at all of the process since the last boot marker.
    std::pmr::vector<uint8_t> programStarts;
    std::pmr::vector<uint8_t> groupStarts;
    // Where a run that starts at the record stops collecting: the first
    // record from there on flagged as a boot marker.
    std::pmr::vector<int32_t> stops;
    std::pmr::vector<int32_t> hourStarts;
};

// Whether a record's hour, day, month or year is greater than that of the
// record before it, field by field.
bool startsAnHour(const ActionRecord& record, const ActionRecord* before) {
    DosDate date = decodeDosDate(record.date);
    DosTime time = decodeDosTime(record.time);
    if (!before) return true;  // against a date and time of all zeros; no year is 0
    DosDate dateBefore = decodeDosDate(before->date);
    DosTime timeBefore = decodeDosTime(before->time);
    return time.hours > timeBefore.hours || date.day > dateBefore.day || date.month > dateBefore.month ||
           date.year > dateBefore.year;
}

Summary summarise(std::span<const ActionRecord> records,
                  std::pmr::memory_resource* scratch = std::pmr::get_default_resource()) {
    const size_t n = records.size();
    Summary s(scratch);
    s.traits.resize(n);
    s.pathLengths.resize(n);
    s.names.resize(n);
    s.runs.resize(n);
    s.runStarts.resize(n);
    s.programStarts.resize(n);
    s.groupStarts.resize(n);
    s.stops.resize(n);
    DenseIds<std::string_view, IgnoreCaseHash, IgnoreCaseEqual> nameIds;
    DenseIds<uint64_t> runIds;
    DenseIds<int32_t> processIds;
    std::pmr::vector<int32_t> runSeen(scratch), processSeen(scratch);  // the boot session each id was last seen in
    int32_t boot = 0;
    int32_t process = -1;
    std::optional<size_t> lastLive;
    for (size_t j = 0; j < n; ++j) {
        const ActionRecord& r = records[j];
        // Records come in runs of one program, so most ids are the last one's.
        bool sameName = j > 0 && nameOf(r) == nameOf(records[j - 1]);
        bool sameProcess = j > 0 && r.processId == records[j - 1].processId;
        s.names[j] = sameName ? s.names[j - 1] : nameIds.idOf(nameOf(r));
        s.runs[j] = sameName && sameProcess ? s.runs[j - 1] : runIds.idOf(pairKey(s.names[j], r.processId));
        if (!sameProcess) process = processIds.idOf(r.processId);
        runSeen.resize(size_t(runIds.count()), -1);
        processSeen.resize(size_t(processIds.count()), -1);

        s.traits[j] = traitsOf(r);
        s.pathLengths[j] = uint32_t(r.programPath.size());
        s.runStarts[j] = runSeen[size_t(s.runs[j])] != boot;
        s.programStarts[j] = processSeen[size_t(process)] != boot;
        s.groupStarts[j] = !lastLive || !continuesOperation(records[*lastLive], r);
        if (startsAnHour(r, j > 0 ? &records[j - 1] : nullptr)) s.hourStarts.push_back(int32_t(j));
        if (r.kind == kindBootMarker) {
            ++boot;
        } else {
            if (r.undone() == 0) runSeen[size_t(s.runs[j])] = boot;
            processSeen[size_t(process)] = boot;
        }
        if (r.undone() == 0) lastLive = j;
    }
    s.nameCount = nameIds.count();
    s.runCount = runIds.count();
    int32_t stop = int32_t(n);
    for (size_t j = n; j-- > 0;) {
        if (s.traits[j] & bootFlag) stop = int32_t(j);
        s.stops[j] = stop;
    }
    return s;
}

// The runs of each entry, given the entry each record belongs to (or -1) and
// an id for each (entry, process id) pair. A live record that belongs to an
// entry and starts a run opens a session, which holds the live records of
// the same pair from there up to its stop.
std::vector<std::vector<ProgramSession>> collectSessions(std::span<const int32_t> entryOf,
                                                         std::span<const int32_t> pairOf, int32_t pairCount,
                                                         size_t entryCount, const Summary& s) {
    const size_t n = entryOf.size();
    auto member = [&](size_t j) { return entryOf[j] >= 0 && (s.traits[j] & live); };
    // The members of each pair, laid out pair after pair.
    std::pmr::vector<int32_t> pairEnd(size_t(pairCount) + 1, 0, s.scratch);
    for (size_t j = 0; j < n; ++j)
        if (member(j)) ++pairEnd[size_t(pairOf[j]) + 1];
    std::partial_sum(pairEnd.begin(), pairEnd.end(), pairEnd.begin());
    std::pmr::vector<int32_t> fill(pairEnd.begin(), pairEnd.end() - 1, s.scratch);
    std::pmr::vector<int32_t> members(size_t(pairEnd.back()), s.scratch);
    std::pmr::vector<int32_t> placeOf(n, s.scratch);
    for (size_t j = 0; j < n; ++j) {
        if (!member(j)) continue;
        placeOf[j] = fill[size_t(pairOf[j])]++;
        members[size_t(placeOf[j])] = int32_t(j);
    }
    pairEnd.erase(pairEnd.begin());

    std::vector<std::vector<ProgramSession>> sessions(entryCount);
    for (size_t j = 0; j < n; ++j) {
        if (!member(j) || !s.runStarts[j]) continue;
        ProgramSession session;
        for (int32_t at = placeOf[j]; at < pairEnd[size_t(pairOf[j])] && members[size_t(at)] < s.stops[j]; ++at) {
            int32_t k = members[size_t(at)];
            (s.traits[size_t(k)] & setting ? session.settingActions : session.fileActions).push_back(k);
        }
        sessions[size_t(entryOf[j])].push_back(std::move(session));
    }
    return sessions;
}

// Entries were appended newest first; turns them, and the ids that point at
// them, oldest first.
template <class Entry>
void reverseEntries(std::vector<Entry>& entries, std::span<int32_t> ids) {
    std::ranges::reverse(entries);
    for (int32_t& id : ids)
        if (id >= 0) id = int32_t(entries.size()) - 1 - id;
}

std::vector<ProgramEntry> programListFrom(std::span<const ActionRecord> records, const Summary& s) {
    std::vector<ProgramEntry> entries;
    std::vector<int32_t> entryOfName(size_t(s.nameCount), -1);
    for (size_t j = records.size(); j-- > 0;) {
        int32_t& entry = entryOfName[size_t(s.names[j])];
        if (!(s.traits[j] & namesAProgram) || entry >= 0) continue;
        entry = int32_t(entries.size());
        setFieldText(entries.emplace_back().programName, nameOf(records[j]));
    }
    reverseEntries(entries, entryOfName);

    // A program's records are those of its name, so its (entry, process)
    // pairs are the runs of the summary.
    std::pmr::vector<int32_t> entryOf(records.size(), s.scratch);
    for (size_t j = 0; j < records.size(); ++j) entryOf[j] = entryOfName[size_t(s.names[j])];
    auto sessions = collectSessions(entryOf, s.runs, s.runCount, entries.size(), s);
    for (size_t e = 0; e < entries.size(); ++e) entries[e].sessions = std::move(sessions[e]);
    return entries;
}

std::vector<AppletEntry> appletListFrom(std::span<const ActionRecord> records, const Summary& s) {
    std::vector<AppletEntry> entries;
    std::unordered_map<std::string_view, int32_t, IgnoreCaseHash, IgnoreCaseEqual> entryOfPath;
    for (size_t j = records.size(); j-- > 0;) {
        if (!(s.traits[j] & namesAnApplet)) continue;
        if (entryOfPath.try_emplace(records[j].programPath, int32_t(entries.size())).second)
            entries.emplace_back().appletPath = records[j].programPath;
    }
    if (entries.empty()) return entries;

    // Most records name a program, not an applet, and most such paths differ
    // from every applet's in length.
    std::vector<bool> appletLength;
    for (const AppletEntry& entry : entries) {
        appletLength.resize(std::max(appletLength.size(), entry.appletPath.size() + 1));
        appletLength[entry.appletPath.size()] = true;
    }
    const size_t n = records.size();
    std::pmr::vector<int32_t> entryOf(n, -1, s.scratch), pairOf(n, -1, s.scratch);
    DenseIds<uint64_t> pairIds;
    for (size_t j = 0; j < n; ++j) {
        if (s.pathLengths[j] >= appletLength.size() || !appletLength[s.pathLengths[j]]) continue;
        std::string_view path = records[j].programPath;
        bool samePath = j > 0 && entryOf[j - 1] >= 0 && path == records[j - 1].programPath;
        if (samePath) {
            entryOf[j] = entryOf[j - 1];
        } else {
            auto found = entryOfPath.find(std::string_view(path));
            if (found == entryOfPath.end()) continue;
            entryOf[j] = found->second;
        }
        pairOf[j] = samePath && pairOf[j - 1] >= 0 && records[j].processId == records[j - 1].processId
                        ? pairOf[j - 1]
                        : pairIds.idOf(pairKey(entryOf[j], records[j].processId));
    }
    reverseEntries(entries, entryOf);
    auto sessions = collectSessions(entryOf, pairOf, pairIds.count(), entries.size(), s);
    for (size_t e = 0; e < entries.size(); ++e) entries[e].sessions = std::move(sessions[e]);
    return entries;
}

std::vector<FileActionGroup> fileActionListFrom(const Summary& s) {
    std::vector<FileActionGroup> groups;
    const size_t n = s.traits.size();
    size_t groupEnd = 0;  // where the last Explorer group stopped taking records in
    for (size_t i = 0; i < n; ++i) {
        uint16_t traits = s.traits[i];
        if (!(traits & live)) continue;
        if (!(traits & explorer)) {
            if (!(traits & setting)) groups.push_back({{int32_t(i)}});
            continue;
        }
        if (traits & (iniFile | fromRegistry)) continue;
        // A record the group before took in starts none. Any other does, even
        // one that continues that group's last live record: an undone record
        // between them ended the group, and without a group of its own the
        // record would be in none.
        if (i < groupEnd) continue;
        FileActionGroup& group = groups.emplace_back();
        group.actions.push_back(int32_t(i));
        size_t k = i + 1;
        for (; k < n; ++k) {
            if ((s.traits[k] & iniFile) || !(s.traits[k] & explorer) || s.groupStarts[k]) break;
            if (s.traits[k] & live) group.actions.push_back(int32_t(k));
        }
        groupEnd = k;
    }
    return groups;
}

ActionIndex actionIndexFrom(const Summary& s) {
    ActionIndex index;
    index.hourStarts.assign(s.hourStarts.begin(), s.hourStarts.end());
    for (size_t j = 0; j < s.traits.size(); ++j) {
        uint16_t traits = s.traits[j];
        if ((traits & (live | explorer | controlPanel | bootFlag)) == live && s.programStarts[j])
            index.programStarts.push_back(int32_t(j));
        if ((traits & (live | bootFlag)) == (live | bootFlag)) index.bootMarkers.push_back(int32_t(j));
    }
    return index;
}
}  // namespace

std::vector<uint8_t> findRunStarts(std::span<const ActionRecord> records) {
    const Summary s = summarise(records);
    return {s.runStarts.begin(), s.runStarts.end()};
}

std::vector<uint8_t> findGroupStarts(std::span<const ActionRecord> records) {
    const Summary s = summarise(records);
    return {s.groupStarts.begin(), s.groupStarts.end()};
}

std::vector<uint8_t> findProgramStarts(std::span<const ActionRecord> records) {
    const Summary s = summarise(records);
    return {s.programStarts.begin(), s.programStarts.end()};
}

std::vector<ProgramEntry> makeProgramList(std::span<const ActionRecord> records) {
    return programListFrom(records, summarise(records));
}

std::vector<AppletEntry> makeAppletList(std::span<const ActionRecord> records) {
    return appletListFrom(records, summarise(records));
}

std::vector<FileActionGroup> makeFileActionList(std::span<const ActionRecord> records) {
    return fileActionListFrom(summarise(records));
}

ActionIndex makeActionIndex(std::span<const ActionRecord> records) {
    return actionIndexFrom(summarise(records));
}

std::optional<std::string_view> programEntryNameOf(const ActionRecord& record) {
    if (!(traitsOf(record) & namesAProgram)) return std::nullopt;
    return nameOf(record);
}

std::optional<std::string_view> appletEntryPathOf(const ActionRecord& record) {
    if (!(traitsOf(record) & namesAnApplet)) return std::nullopt;
    return record.programPath.view();
}

std::vector<FileActionGroup> newestFileActionGroups(std::span<const ActionRecord> records, size_t count) {
    // No Explorer group reaches past a record that is no Explorer's, and the
    // groups after it look no further back than it: from there on, the
    // groups of the tail are those of the whole history.
    for (size_t window = 256;; window *= 4) {
        size_t from = records.size() > window ? records.size() - window : 0;
        while (from > 0 && from < records.size() && records[from].isExplorer()) ++from;
        if (from > 0 && from == records.size()) continue;
        std::vector<FileActionGroup> groups = fileActionListFrom(summarise(records.subspan(from)));
        if (groups.size() < count && from > 0) continue;
        groups.erase(groups.begin(), groups.end() - ptrdiff_t(std::min(count, groups.size())));
        for (FileActionGroup& group : groups)
            for (int32_t& index : group.actions) index += int32_t(from);
        return groups;
    }
}

// What a rebuild's arrays take for each record, all told: the summary's, and
// for programs and applets each the entry, pair and place of every record.
constexpr size_t scratchBytesPerRecord = 64;

bool buildDerivedLists(std::span<const ActionRecord> records, const std::function<bool()>& giveUp) {
    freeDerivedLists();
    auto givenUp = [&] {
        if (!giveUp()) return false;
        freeDerivedLists();
        ++derivedListsGeneration;  // no index taken before names anything now
        return true;
    };
    std::pmr::monotonic_buffer_resource scratch(records.size() * scratchBytesPerRecord);
    Summary summary = summarise(records, &scratch);
    if (givenUp()) return false;
    programList = programListFrom(records, summary);
    if (givenUp()) return false;
    fileActionList = fileActionListFrom(summary);
    if (givenUp()) return false;
    appletList = appletListFrom(records, summary);
    if (givenUp()) return false;
    actionIndex = actionIndexFrom(summary);
    ++derivedListsGeneration;
    return true;
}

void freeDerivedLists() {
    programList = {};
    appletList = {};
    fileActionList = {};
    actionIndex = {};
}
