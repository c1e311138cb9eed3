#include "recorder/recorder_win32.h"

#include <shlobj.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "base/dos_time.h"
#include "base/paths.h"
#include "base/text.h"
#include "base/whole_file_win32.h"
#include "database/undo_bin.h"
#include "database/undo_bin_win32.h"
#include "monitor/action_kind.h"
#include "monitor/bin_lock_win32.h"
#include "monitor/own_work_win32.h"
#include "monitor/recorder_channel_win32.h"
#include "monitor/recycle_bin_win32.h"
#include "monitor/report_writer_win32.h"
#include "recorder/batch_timing.h"
#include "recorder/directory_watch_win32.h"
#include "recorder/file_catalog.h"
#include "recorder/folder_scan_win32.h"
#include "recorder/ignore_rules.h"
#include "recorder/logging_state.h"
#include "recorder/process_tracker_win32.h"
#include "recorder/registry_watch_win32.h"
#include "recorder/report_entries.h"
#include "recorder/session_end_win32.h"
#include "recorder/shadow_cache_win32.h"
#include "settings/settings_store_win32.h"

namespace {

// Entries that wait while logging is stopped, at most: beyond them, changes
// are counted lost rather than held in ever more memory.
constexpr size_t mostWaiting = 20000;
// Notices one batch holds at most; beyond them the watch is read again whole.
constexpr size_t mostNotices = 100000;
// How often the watches are looked at: one that died silently is noticed
// within this, restarted, and its folder compared again.
constexpr uint64_t healthCheckMilliseconds = 1000;
// How often the watches are read while a batch is written.
constexpr uint64_t readBetweenEntriesMilliseconds = 20;
// A watch that cannot be restarted is tried again after this, doubled with
// every further failure up to the longest.
constexpr uint64_t firstRetryMilliseconds = 1000;
constexpr uint64_t longestRetryMilliseconds = 60000;

uint64_t retryDelay(uint32_t failures) {
    return std::min(longestRetryMilliseconds, firstRetryMilliseconds << std::min(failures, 16u));
}

bool handleValid(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

std::string knownFolder(int csidl) {
    char folder[MAX_PATH] = "";
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)) ? folder : "";
}

std::string withoutClosingBackslash(std::string folder) {
    while (folder.size() > 3 && folder.ends_with('\\')) folder.pop_back();
    return folder;
}

ChangeStamp stampNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {{}, encodeDosDate(now.wYear, now.wMonth, now.wDay), encodeDosTime(now.wHour, now.wMinute, now.wSecond)};
}

// The file system's identity of a folder, so that two paths to one folder
// (Wine links Desktop and Documents to one home folder) are watched once.
std::string folderIdentity(const std::string& folder) {
    HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION information;
    bool known = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!known) return {};
    return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
}

bool isIniFile(std::string_view path) { return equalsIgnoreCase(splitExtension(fileNameOf(path)).extension, ".ini"); }

struct Watched {
    std::unique_ptr<DirectoryWatch> watch;
    bool iniOnly = false;  // the Windows folder, of which only the INI files count
    uint32_t failures = 0;  // restarts that failed in a row
    uint64_t retryAt = 0;   // when a failed watch is tried again
    const char* pattern() const { return iniOnly ? "*.ini" : "*"; }
};

// An entry that waits while logging is stopped; its saved copy waits in the
// bin's Staging folder, which the bin's upkeep leaves alone.
struct Waiting {
    std::optional<FileReportEntry> file;
    std::optional<RegistryReportEntry> registry;
};

// How a change came to be recorded: seen as it happened, found by comparing
// a folder again after lost notices, or found at start, made while the
// recorder was not running.
enum class Found { Live, ByRescan, WhileAway };

// The program that changes made while the recorder was not running are
// recorded under: no process can be told, and a person finds them together
// in one program session by this name, with the recorder's own file, which
// found them. The process number is one the system never gives, so the
// session is its own.
Program madeWhileAwayProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return {"Offline", path, 1};
}

// What has come in since the last quiet moment.
struct Batch {
    bool open = false;
    uint64_t first = 0, last = 0;  // when its first and latest notices came
    std::vector<FileNotice> notices;
    std::vector<RegistryChange> registry;
    std::set<size_t> lostWatches;  // watches whose notices overflowed: read again whole
};

class Recorder {
public:
    explicit Recorder(const RecorderOptions& options) : options_(options) { reopenRequestEvents(); }
    ~Recorder() {
        for (HANDLE* event : requestEvents()) CloseHandle(*event);
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    int run() {
        // First, so that a session ending even during set-up waits for what
        // this run keeps: the next start has nothing to compare with else.
        SessionEndWatch sessionEnd([this] { SetEvent(quit_); });
        recycleBins_ = recycleBinFolders();
        if (!takeSettings()) return 1;
        storeCounts();
        deleteStagedLeftovers();
        shadow_ = std::make_unique<ShadowCache>(dataFolder() + "\\Shadow", settings_.UndoBinSize);
        const bool resumed = catalog_.restore(takeKept(keptCatalogName));
        registry_ = std::make_unique<RegistryWatch>(stirAttribution(), takeKept(keptRegistryName));
        std::vector<FileNotice> madeWhileAway = watchFolders(resumed);
        state_ = LoggingState(settings_.EnableDriver != 0);
        if (state_.logging()) markBoot();
        catchUp(std::move(madeWhileAway));
        // Retrace waits for this before it asks anything, so that no request
        // meets a recorder still setting up.
        SetEvent(started_);
        for (;;) {
            const uint64_t now = GetTickCount64();
            if (now >= nextHealthCheck_) checkHealth(now);
            // The quit first: it alone ends the loop.
            const std::vector<WaitSource> sources = waitSources();
            std::vector<HANDLE> handles{quit_};
            for (const WaitSource& source : sources) handles.push_back(source.handle);
            uint64_t timeout = nextHealthCheck_ - std::min(now, nextHealthCheck_);
            if (batch_.open) {
                uint64_t left = batchCloseLeft(now, batch_.first, batch_.last, attribution_.answerDelayMilliseconds());
                if (left == 0) {
                    closeBatch();
                    continue;
                }
                timeout = std::min(timeout, left);
            }
            DWORD woken = WaitForMultipleObjects(DWORD(handles.size()), handles.data(), FALSE, DWORD(timeout));
            if (woken == WAIT_TIMEOUT) {
                if (batch_.open &&
                    batchCloseLeft(GetTickCount64(), batch_.first, batch_.last, attribution_.answerDelayMilliseconds()) == 0)
                    closeBatch();
                continue;
            }
            if (woken == WAIT_FAILED) {
                healFailedWait(handles);
                continue;
            }
            failedWaits_ = 0;
            size_t index = woken - WAIT_OBJECT_0;
            if (index == 0) {
                // A start Retrace asked for before the quit, while a batch
                // was written, still takes effect: what waited for it is
                // written rather than dropped.
                if (WaitForSingleObject(start_, 0) == WAIT_OBJECT_0) startLogging();
                break;
            }
            sources[index - 1].onSignal();
        }
        while (batch_.open) closeBatch();
        counts_.lost += uint32_t(waiting_.size());
        dropWaiting();
        storeCounts();
        keep();
        return 0;
    }

private:
    RecorderOptions options_;
    HANDLE quit_ = nullptr, stop_ = nullptr, stopped_ = nullptr, start_ = nullptr, started_ = nullptr;
    Settings settings_;
    std::unique_ptr<ReportWriter> writer_;
    std::unique_ptr<IgnoreRules> rules_;
    std::unique_ptr<ShadowCache> shadow_;
    // Before the registry watch, whose threads tell it of changes until they end.
    ProcessTracker attribution_;
    std::unique_ptr<RegistryWatch> registry_;
    std::vector<std::string> recycleBins_;
    std::vector<Watched> watches_;
    FileCatalog catalog_;
    Batch batch_;
    std::vector<Waiting> waiting_;
    uint64_t nextHealthCheck_ = 0;
    uint32_t failedWaits_ = 0;     // waits that failed in a row
    uint32_t registryRestarts_ = 0;  // the registry watch's own restarts, as last counted
    RecorderCounts counts_;
    std::optional<RecorderCounts> storedCounts_;  // as last written for Retrace to show
    LoggingState state_{false};
    bool bootMarked_ = false;
    bool readingBetweenEntries_ = false;
    uint64_t nextReadBetweenEntries_ = 0;

    static std::string dataFolder() { return knownFolder(CSIDL_LOCAL_APPDATA) + "\\Retrace\\Recorder"; }

    // --- what is kept between runs

    static constexpr const char* keptCatalogName = "\\files.catalog";
    static constexpr const char* keptRegistryName = "\\registry.shadow";

    // The file an earlier run kept, deleted once read: should this run end
    // without keeping its own, the next must not find again what this one
    // has recorded.
    static std::string takeKept(const char* name) {
        std::string path = dataFolder() + name, bytes;
        if (!readFileQuietly(path, bytes)) return {};
        DeleteFileA(path.c_str());
        return bytes;
    }

    static void putKept(const char* name, const std::string& bytes) {
        std::string path = dataFolder() + name, fresh = path + ".new";
        if (writeFileWhole(fresh, bytes, CREATE_ALWAYS)) MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    // What the next start compares the disk and the registry with.
    void keep() {
        catalog_.takeIdentities([](const std::string& path) { return fileIdentity(path); });
        putKept(keptCatalogName, catalog_.saved());
        putKept(keptRegistryName, registry_->kept());
        shadow_->keep();
    }

    // Records what changed while the recorder was not running, found by
    // comparing with what the last run kept: no process saw it happen, so it
    // is named for no running program but for that time.
    void catchUp(std::vector<FileNotice> notices) {
        ChangeStamp stamp = stampNow();
        stamp.program = madeWhileAwayProgram();
        notices = catalog_.withMovesPaired(std::move(notices), [](const std::string& path) {
            CatalogEntry entry;
            entryOnDisk(path, entry);
            entry.identity = fileIdentity(path);
            return entry;
        });
        for (const FileChange& change : correlate(notices)) recordFile(change, stamp, Found::WhileAway);
        for (const RegistryChange& change : registry_->take()) recordRegistry(change, stamp, Found::WhileAway);
        settle(notices);
        storeCounts();
    }
    std::string stagingFolder() const { return writer_->binFolder() + "\\Staging"; }

    bool excluded(std::string_view path) const { return rules_->excluded(path); }

    // --- settings and places

    // Reports and saved copies go only into a folder that is a bin: written
    // among someone's own files, they would make Retrace take that folder
    // for one and sweep those files. A folder that is not keeps the bin in
    // use; without one, the answer is false and nothing is recorded.
    bool takeSettings() {
        settings_ = Settings{};
        loadSettings(settings_);
        std::string bin = withoutClosingBackslash(settings_.UndoBinPath);
        if (!isUnsafeBinFolder(bin)) SHCreateDirectoryExA(nullptr, bin.c_str(), nullptr);
        bool isBin = !isUnsafeBinFolder(bin) && countsAsUndoBinFolder(bin);
        if (isBin && (!writer_ || !equalsIgnoreCase(bin, writer_->binFolder())))
            writer_ = std::make_unique<ReportWriter>(bin);
        if (!writer_) return false;
        CreateDirectoryA(stagingFolder().c_str(), nullptr);
        rules_ = std::make_unique<IgnoreRules>(settings_, std::vector<std::string>{writer_->binFolder(), dataFolder()},
                                               recycleBins_);
        return true;
    }

    void deleteStagedLeftovers() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((stagingFolder() + "\\*.sav").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            DeleteFileA((stagingFolder() + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    // The user's Desktop and Documents, further folders asked for, the INI
    // files of the Windows folder and the Recycle Bin; each folder once. With
    // the catalog an earlier run kept, what differs from it is answered as
    // made meanwhile, and left for catchUp to record and settle.
    std::vector<FileNotice> watchFolders(bool resumed) {
        std::vector<FileNotice> differences;
        struct Place {
            std::string folder;
            bool recursive;
            bool iniOnly;
        };
        std::vector<Place> places{{knownFolder(CSIDL_DESKTOPDIRECTORY), true, false},
                                  {knownFolder(CSIDL_PERSONAL), true, false}};
        for (const std::string& folder : options_.extraFolders) places.push_back({folder, true, false});
        places.push_back({knownFolder(CSIDL_WINDOWS), false, true});
        for (const std::string& bin : recycleBins_) {
            CreateDirectoryA(bin.c_str(), nullptr);
            places.push_back({bin, false, false});
        }
        std::set<std::string> identities;
        std::vector<std::string> recursiveRoots;
        for (const Place& place : places) {
            std::string folder = withoutClosingBackslash(place.folder);
            std::string identity = folderIdentity(folder);
            if (identity.empty() || !identities.insert(identity).second) continue;
            if (std::any_of(recursiveRoots.begin(), recursiveRoots.end(),
                            [&](const std::string& root) { return isWithin(folder, root); }))
                continue;
            Watched watched{std::make_unique<DirectoryWatch>(folder, place.recursive, options_.watchBufferBytes),
                            place.iniOnly};
            if (!watched.watch->watching()) continue;
            if (place.recursive) recursiveRoots.push_back(folder);
            TreeListing listing = listFolderTree(folder, place.recursive, watched.pattern(),
                                                 [&](std::string_view p) { return excluded(p); });
            std::set<std::string, IgnoreCaseLess> differing;
            if (resumed)
                for (FileNotice& notice : catalog_.differencesFrom(folder, place.recursive, listing)) {
                    differing.insert(notice.path);
                    differences.push_back(std::move(notice));
                }
            for (auto& [path, entry] : listing) {
                if (differing.contains(path)) continue;
                catalog_.set(path, entry);
                if (!entry.folder) shadow_->refresh(path, entry.size);
            }
            watches_.push_back(std::move(watched));
        }
        return differences;
    }

    // --- what comes in

    void beginBatch() {
        uint64_t now = GetTickCount64();
        if (!batch_.open) {
            batch_.open = true;
            batch_.first = now;
            attribution_.batchBegins();
        }
        batch_.last = now;
    }

    // For the registry's watch threads.
    std::function<void()> stirAttribution() {
        return [this] { attribution_.changesStir(); };
    }

    void takeNotices(size_t index) {
        attribution_.changesStir();
        Watched& watched = watches_[index];
        DirectoryWatch::Read read = watched.watch->collect();
        counts_.notRecordable += read.unnamed;
        if (read.lost) batch_.lostWatches.insert(index);
        if (!watched.watch->watching()) restartWatch(index, GetTickCount64());
        // Retrace's own undo, redo or Start Over: known from now on, not recorded.
        std::vector<FileNotice> own;
        std::vector<FileNotice>& taken = ownWorkUnderway() ? own : batch_.notices;
        const uint64_t seen = systemClockNow();
        for (FileNotice& notice : read.notices) notice.seen = seen;
        for (FileNotice& notice : withoutExcluded(std::move(read.notices), [&](std::string_view p) { return excluded(p); })) {
            if (watched.iniOnly && !isIniFile(notice.path) && !isIniFile(notice.newPath)) continue;
            if (alreadySettled(notice)) continue;
            notice.folder = isFolder(notice);
            if (notice.folder && notice.action != NoticeAction::Removed) takeNewFolder(notice, watched, taken);
            if (taken.size() >= mostNotices) {
                batch_.lostWatches.insert(index);
                break;
            }
            taken.push_back(std::move(notice));
        }
        settle(own);
        if (!batch_.notices.empty() || !batch_.lostWatches.empty()) beginBatch();
    }

    // A write the last batch's settling already read: the file is as the
    // catalog holds it, so the notice, late, says nothing new.
    bool alreadySettled(const FileNotice& notice) const {
        if (notice.action != NoticeAction::Modified) return false;
        const CatalogEntry* known = catalog_.find(notice.path);
        CatalogEntry now;
        return known && !known->folder && entryOnDisk(notice.path, now) && now == *known;
    }

    bool isFolder(const FileNotice& notice) const {
        const std::string& now = notice.action == NoticeAction::Renamed ? notice.newPath : notice.path;
        CatalogEntry entry;
        if (notice.action != NoticeAction::Removed && entryOnDisk(now, entry)) return entry.folder;
        const CatalogEntry* known = catalog_.find(notice.path);
        return known && known->folder;
    }

    // A folder that came into view: its subfolders are opened, so Wine
    // reports what happens in them, and the files it brought are new here.
    void takeNewFolder(const FileNotice& notice, const Watched& watched, std::vector<FileNotice>& taken) {
        const std::string& folder = notice.action == NoticeAction::Renamed ? notice.newPath : notice.path;
        bool known = catalog_.find(folder) != nullptr;
        for (auto& [path, entry] : listFolderTree(folder, watched.watch->recursive(), watched.pattern(),
                                                  [&](std::string_view p) { return excluded(p); }))
            if (notice.action == NoticeAction::Added && !known && !entry.folder)
                taken.push_back({NoticeAction::Added, path, "", false, notice.seen});
    }

    void takeRegistryChanges() {
        std::vector<RegistryChange> changes = registry_->take();
        if (changes.empty() || ownWorkUnderway()) return;
        batch_.registry.insert(batch_.registry.end(), changes.begin(), changes.end());
        beginBatch();
    }

    // --- healing: nothing that fails stops the recording for good

    void checkHealth(uint64_t now) {
        nextHealthCheck_ = now + healthCheckMilliseconds;
        for (size_t index = 0; index < watches_.size(); ++index)
            if (!watches_[index].watch->healthy() && now >= watches_[index].retryAt) restartWatch(index, now);
        uint32_t registryRestarts = registry_->restarts();
        if (registryRestarts != registryRestarts_) {
            counts_.restarts += registryRestarts - registryRestarts_;
            registryRestarts_ = registryRestarts;
            storeCounts();
        }
    }

    // A watch that died is made anew and its folder compared with the
    // catalog, so what happened meanwhile is recorded; one that cannot be
    // made is tried again later, ever less often.
    void restartWatch(size_t index, uint64_t now) {
        Watched& watched = watches_[index];
        ++counts_.restarts;
        const std::string folder = watched.watch->folder();
        const bool recursive = watched.watch->recursive();
        watched.watch.reset();
        watched.watch = std::make_unique<DirectoryWatch>(folder, recursive, options_.watchBufferBytes);
        if (watched.watch->watching()) {
            watched.failures = 0;
            batch_.lostWatches.insert(index);
            beginBatch();
        } else {
            watched.retryAt = now + retryDelay(watched.failures++);
        }
        storeCounts();
    }

    // A handle in the wait was closed from under the recorder: what it
    // belongs to is made anew, and a wait that keeps failing backs off.
    void healFailedWait(const std::vector<HANDLE>& handles) {
        ++counts_.restarts;
        const uint64_t now = GetTickCount64();
        for (size_t index = 0; index < watches_.size(); ++index)
            if (!handleValid(watches_[index].watch->event()) || !watches_[index].watch->healthy())
                restartWatch(index, now);
        if (!handleValid(registry_->ready())) {
            // A fresh watch reads the keys again; what changed meanwhile is
            // not known, as with a recorder that was not running.
            registry_ = std::make_unique<RegistryWatch>(stirAttribution());
            registryRestarts_ = 0;
        }
        for (size_t request = 0; request < 3; ++request)
            if (!handleValid(handles[request])) reopenRequestEvents();
        storeCounts();
        Sleep(DWORD(std::min<uint64_t>(2000, 50ull << std::min(failedWaits_++, 6u))));
    }

    // What the main loop waits on besides the quit, and what each sets off.
    struct WaitSource {
        HANDLE handle;
        std::function<void()> onSignal;
    };
    std::vector<WaitSource> waitSources() {
        std::vector<WaitSource> sources{{stop_, [this] { stopLogging(); }},
                                        {start_, [this] { startLogging(); }},
                                        {registry_->ready(), [this] { takeRegistryChanges(); }}};
        for (size_t index = 0; index < watches_.size(); ++index)
            sources.push_back({watches_[index].watch->event(), [this, index] { takeNotices(index); }});
        return sources;
    }

    std::array<HANDLE*, 5> requestEvents() { return {&quit_, &stop_, &stopped_, &start_, &started_}; }

    // Opens those of Retrace's request and answer events that are not open.
    void reopenRequestEvents() {
        const char* names[] = {recorderQuitName, recorderStopName, recorderStoppedName, recorderStartName,
                               recorderStartedName};
        std::array<HANDLE*, 5> events = requestEvents();
        for (size_t i = 0; i < events.size(); ++i)
            if (!*events[i] || !handleValid(*events[i])) *events[i] = CreateEventA(nullptr, FALSE, FALSE, names[i]);
    }

    // --- what goes out

    void closeBatch() {
        if (!batch_.open) return;
        // What comes while this batch is written opens the next one.
        const Batch closing = std::exchange(batch_, {});
        ChangeStamp stamp = stampNow();
        std::map<std::string, uint64_t, IgnoreCaseLess> seen = noticeTimes(closing.notices);
        for (const FileChange& change : correlate(closing.notices)) {
            // A file's time can be set, and a copy keeps its source's: only
            // the notice tells when a file changed.
            const uint64_t noticed = std::max(seen[change.path], seen[change.otherPath]);
            stamp.program = attribution_.programOf(change.path, noticed, noticed);
            recordFile(change, stamp, Found::Live);
        }
        for (const RegistryChange& change : closing.registry) {
            stamp.program = attribution_.programOf(change.path, changeMadeAt(change.written, change.seen), change.seen);
            recordRegistry(change, stamp, Found::Live);
        }
        settle(closing.notices);
        for (size_t index : closing.lostWatches) rescan(watches_[index], stamp);
        attribution_.batchEnds();
        storeCounts();
    }

    // When the latest notice naming each path came.
    static std::map<std::string, uint64_t, IgnoreCaseLess> noticeTimes(const std::vector<FileNotice>& notices) {
        std::map<std::string, uint64_t, IgnoreCaseLess> seen;
        for (const FileNotice& notice : notices)
            for (const std::string* path : {&notice.path, &notice.newPath})
                if (!path->empty()) seen[*path] = std::max(seen[*path], notice.seen);
        return seen;
    }

    std::vector<FileChange> correlate(const std::vector<FileNotice>& notices) const {
        return correlateNotices(
            notices,
            [&](std::string_view path) -> std::optional<KnownPath> {
                const CatalogEntry* entry = catalog_.find(path);
                if (!entry) return std::nullopt;
                return KnownPath{entry->folder};
            },
            [&](std::string_view path) { return rules_->inRecycleBin(path); });
    }

    // A watch that lost notices: the folder is compared with the catalog,
    // and what differs is recorded without a program.
    void rescan(const Watched& watched, ChangeStamp stamp) {
        ++counts_.rescans;
        const DirectoryWatch& watch = *watched.watch;
        TreeListing listing = listFolderTree(watch.folder(), watch.recursive(), watched.pattern(),
                                               [&](std::string_view p) { return excluded(p); });
        std::vector<FileNotice> notices = catalog_.differencesFrom(watch.folder(), watch.recursive(), listing);
        stamp.program = {};
        for (const FileChange& change : correlate(notices)) recordFile(change, stamp, Found::ByRescan);
        settle(notices);
    }

    uint64_t sizeOf(const FileChange& change) const {
        if (change.kind == kindDelete) {
            const CatalogEntry* known = catalog_.find(change.earlierContentOf);
            return known ? known->size : 0;
        }
        CatalogEntry entry;
        const std::string& now = change.otherPath.empty() ? change.path : change.otherPath;
        return entryOnDisk(now, entry) ? entry.size : 0;
    }

    void count(Found found, const Program& program) {
        if (found == Found::ByRescan)
            ++counts_.foundByRescan;
        else if (found == Found::WhileAway)
            ++counts_.madeWhileAway;
        else if (!program.known())
            ++counts_.unknownProgram;
    }

    void recordFile(const FileChange& change, const ChangeStamp& stamp, Found found) {
        betweenEntries();
        uint64_t size = sizeOf(change);
        const EntryPlace place = state_.place();
        if (rules_->ignores(change, size) || place == EntryPlace::Nowhere) return;
        const bool needsCopy = change.kind == kindDelete || change.kind == kindModify;
        std::string copy;
        if (needsCopy)
            if (std::optional<std::string> earlier = shadow_->copyOf(change.earlierContentOf))
                copy = writer_->saveEncodedCopy(*earlier, place == EntryPlace::Bin ? "" : stagingFolder());
        FileReportEntry entry = fileEntryOf(change, uint32_t(std::min<uint64_t>(size, UINT32_MAX)), copy, stamp);
        if (!fitsFileReport(entry) || !deliver(Waiting{entry, std::nullopt})) {
            if (!copy.empty()) DeleteFileA(copy.c_str());
            return;
        }
        if (needsCopy && copy.empty()) ++counts_.withoutSavedCopy;
        count(found, stamp.program);
    }

    void recordRegistry(const RegistryChange& change, const ChangeStamp& stamp, Found found) {
        betweenEntries();
        if (state_.place() == EntryPlace::Nowhere) return;
        RegistryReportEntry entry = registryEntryOf(change, stamp);
        if (!fitsRegistryReport(entry) || !deliver(Waiting{std::nullopt, entry})) return;
        count(found, stamp.program);
    }

    // Appends the entry, or keeps it while logging is stopped; false when it
    // is not recorded, and counted.
    bool deliver(Waiting&& entry) {
        if (state_.place() != EntryPlace::Bin) {
            if (waiting_.size() >= mostWaiting) {
                ++counts_.lost;
                return false;
            }
            waiting_.push_back(std::move(entry));
            return true;
        }
        AppendResult result = entry.file ? writer_->appendFile(*entry.file) : writer_->appendRegistry(*entry.registry);
        if (result == AppendResult::DoesNotFit) ++counts_.notRecordable;
        if (result == AppendResult::Failed) ++counts_.lost;
        return result == AppendResult::Written;
    }

    // Brings the catalog and the file cache up to what the disk holds now
    // for every path the notices name.
    void settle(const std::vector<FileNotice>& notices) {
        std::set<std::string, IgnoreCaseLess> paths;
        for (const FileNotice& notice : notices) {
            paths.insert(notice.path);
            if (notice.action != NoticeAction::Renamed) continue;
            paths.insert(notice.newPath);
            if (notice.folder) {
                catalog_.moveFolder(notice.path, notice.newPath);
                shadow_->rename(notice.path, notice.newPath);
            }
        }
        for (const std::string& path : paths) {
            betweenEntries();
            CatalogEntry entry;
            if (entryOnDisk(path, entry)) {
                catalog_.set(path, entry);
                if (!entry.folder) shadow_->refresh(path, entry.size);
            } else {
                catalog_.erase(path);
                shadow_->forget(path);
            }
        }
    }

    // --- Retrace's requests

    // Answered at once: from now on nothing is written into the bin, and
    // what the batch still holds goes to Staging.
    void stopLogging() {
        answerStop();
        closeBatch();
    }

    // Between two entries of a batch being written: a stop takes effect
    // here, so its answer never waits for the whole batch, and the watches
    // are read, so that none is left unread while a large batch is written.
    // Windows fails a read that overflows; Wine keeps only what one read
    // holds and drops the rest without a word.
    void betweenEntries() {
        if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) answerStop();
        const uint64_t now = GetTickCount64();
        if (readingBetweenEntries_ || now < nextReadBetweenEntries_) return;
        readingBetweenEntries_ = true;
        nextReadBetweenEntries_ = now + readBetweenEntriesMilliseconds;
        for (size_t index = 0; index < watches_.size(); ++index)
            if (WaitForSingleObject(watches_[index].watch->event(), 0) == WAIT_OBJECT_0) takeNotices(index);
        readingBetweenEntries_ = false;
    }

    void answerStop() {
        Settings fresh;
        loadSettings(fresh);
        state_.stop(fresh.EnableDriver != 0);
        SetEvent(stopped_);
        if (state_.place() == EntryPlace::Nowhere) dropWaiting();
    }

    // Reads the settings again, as the drivers did after every save, answers,
    // then writes what waited, until a new stop comes.
    void startLogging() {
        closeBatch();
        takeSettings();
        state_.start();
        if (!bootMarked_) markBoot();
        SetEvent(started_);
        size_t delivered = 0;
        for (; delivered < waiting_.size(); ++delivered) {
            betweenEntries();
            if (state_.place() != EntryPlace::Bin) break;
            Waiting& entry = waiting_[delivered];
            if (entry.file) {
                FileReportEntry& file = *entry.file;
                bool staged = (file.kind == kindDelete || file.kind == kindModify) && !file.otherPath.empty();
                if (staged) file.otherPath = writer_->adoptCopy(file.otherPath);
            }
            deliver(std::move(entry));
        }
        waiting_.erase(waiting_.begin(), waiting_.begin() + ptrdiff_t(delivered));
        storeCounts();
    }

    void dropWaiting() {
        for (const Waiting& entry : waiting_)
            if (entry.file && (entry.file->kind == kindDelete || entry.file->kind == kindModify))
                DeleteFileA(entry.file->otherPath.c_str());
        waiting_.clear();
    }

    // A new boot session begins with every start of the recorder, as it did
    // with every start of the drivers.
    void markBoot() {
        ChangeStamp stamp = stampNow();
        bootMarked_ = writer_->appendBootMarker(stamp.date, stamp.time) == AppendResult::Written;
    }

    void storeCounts() {
        if (counts_ == storedCounts_) return;
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, recorderCountsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        visitRecorderCounts(counts_, [&](const char* name, const uint32_t& value) {
            RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        });
        RegCloseKey(key);
        storedCounts_ = counts_;
    }
};

}  // namespace

int runRecorder(const RecorderOptions& options) {
    HANDLE running = CreateMutexA(nullptr, TRUE, recorderRunningName);
    if (!running || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    Settings settings;
    loadSettings(settings);
    const std::string bin(fieldText(settings.UndoBinPath));
    UndoBinLock binLock(BinWriter::Recorder, bin);
    if (!binLock.held()) {
        MessageBoxA(nullptr, binTakenMessage(bin).c_str(), "Retrace", MB_ICONWARNING | MB_OK | MB_SETFOREGROUND);
        CloseHandle(running);
        return 2;
    }
    int code = Recorder(options).run();
    CloseHandle(running);
    return code;
}
