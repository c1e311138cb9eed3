#include "recorder/registry_watch_win32.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "recorder/ignore_rules.h"
#include "recorder/process_tracker_win32.h"

namespace {

struct WatchedRoot {
    HKEY root;
    const char* abbreviation;
    const char* subkey;
};

const WatchedRoot watchedRoots[] = {
    {HKEY_CURRENT_USER, "HKCU", "Software"},
    {HKEY_CURRENT_USER, "HKCU", "Control Panel"},
    {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE"},
};

// A burst of writes, as a program saving its settings makes, is read once.
constexpr DWORD settleMilliseconds = 30;

// One registration wait leaves room for the quit and wake events.
constexpr size_t areasPerGroup = MAXIMUM_WAIT_OBJECTS - 2;

// A subtree is walked whole on every change below it, since a change moves
// no time but its own key's. One larger than this is watched as its own key
// and one subtree per key below it, as a watched root is, unless that makes
// too many registrations.
constexpr size_t largestWalkedSubtree = 2000;
constexpr size_t mostSubtreesPerSplit = 256;

bool isJustBelow(std::string_view path, std::string_view parent) {
    return path.size() > parent.size() + 1 && isWithin(path, parent) &&
           path.find('\\', parent.size() + 1) == std::string_view::npos;
}

bool handleValid(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

uint64_t timeValue(const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

std::vector<RegistryValue> readValues(HKEY key, DWORD count, DWORD longestName, DWORD longestData) {
    std::vector<RegistryValue> values;
    std::string name(longestName + 1, '\0');
    std::string data(longestData, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = DWORD(name.size()), dataLength = DWORD(data.size()), type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &dataLength) != ERROR_SUCCESS)
            continue;
        values.push_back({std::string(name.data(), nameLength), type, std::string(data.data(), dataLength)});
    }
    return values;
}

std::vector<std::string> subkeysOf(HKEY key, DWORD count, DWORD longestName) {
    std::vector<std::string> names;
    std::string name(longestName + 1, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = DWORD(name.size());
        if (RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data(), length);
    }
    return names;
}

// Reads the key at `path` and, with `deep`, every key below it that is not
// left out, parents first; values only where `shadow` asks for them.
void readTree(HKEY parent, const std::string& subkey, const std::string& path, bool deep,
              const RegistryShadow& shadow, std::vector<KeyReading>& keys, std::vector<std::string>* subkeys = nullptr) {
    HKEY key;
    if (RegOpenKeyExA(parent, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValueName = 0, longestData = 0;
    FILETIME written{};
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                         &longestValueName, &longestData, nullptr, &written) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    KeyReading reading{path, timeValue(written), std::nullopt};
    if (shadow.needsValues(path, reading.lastWrite))
        reading.values = readValues(key, valueCount, longestValueName, longestData);
    // A key not written since keeps its list of subkeys: only those keys
    // whose time moved are asked for theirs.
    std::optional<std::vector<std::string>> known;
    if (!subkeys) known = shadow.unchangedSubkeys(path, reading.lastWrite);
    keys.push_back(std::move(reading));
    std::vector<std::string> names = known ? std::move(*known) : subkeysOf(key, subkeyCount, longestSubkey);
    if (deep)
        for (const std::string& name : names)
            if (!isLeftOutKey(path + "\\" + name)) readTree(key, name, path + "\\" + name, true, shadow, keys);
    if (subkeys) *subkeys = std::move(names);
    RegCloseKey(key);
}

}  // namespace

// One watched key: a watched root's own key, or a subtree below it.
struct RegistryWatch::Area {
    HKEY root;
    std::string subkey;
    std::string path;
    bool subtree;
    HKEY key = nullptr;
    HANDLE event = nullptr;

    Area(HKEY rootKey, std::string sub, std::string fullPath, bool isSubtree)
        : root(rootKey), subkey(std::move(sub)), path(std::move(fullPath)), subtree(isSubtree) {}
    ~Area() {
        if (key) RegCloseKey(key);
        if (event) CloseHandle(event);
    }

    // Forgets the key and the event, so that the next arm makes both anew.
    void reopen() {
        if (key) RegCloseKey(key);
        if (event) CloseHandle(event);
        key = nullptr;
        event = nullptr;
    }

    // Asks to be told of the next change; false once the key is gone.
    bool arm() {
        if (!key && RegOpenKeyExA(root, subkey.c_str(), 0, KEY_NOTIFY | KEY_READ, &key) != ERROR_SUCCESS) return false;
        if (!event) event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ResetEvent(event);
        return RegNotifyChangeKeyValue(key, subtree, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event,
                                       TRUE) == ERROR_SUCCESS;
    }
};

// A thread that waits on up to areasPerGroup registrations it made itself.
class RegistryWatch::Group {
public:
    Group(RegistryWatch& owner) : owner_(owner), wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        thread_ = std::thread([this] { run(); });
    }
    ~Group() {
        thread_.join();
        CloseHandle(wake_);
    }

    // Takes the area over, if it has room; the thread registers it.
    bool adopt(std::unique_ptr<Area>& area) {
        std::lock_guard lock(mutex_);
        if (count_ >= areasPerGroup) return false;
        ++count_;
        inbox_.push_back(std::move(area));
        SetEvent(wake_);
        return true;
    }

    // Ends the registration of the subtree at `path`, once the keys below it
    // are watched on their own.
    void retireSubtree(const std::string& path) {
        std::lock_guard lock(mutex_);
        retiring_.push_back(path);
        SetEvent(wake_);
    }

    // Waits until the thread has registered everything adopted so far.
    void waitArmed() {
        std::unique_lock lock(mutex_);
        armed_.wait(lock, [&] { return inbox_.empty(); });
    }

private:
    void run() {
        std::vector<std::unique_ptr<Area>> areas;
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                for (const std::string& path : retiring_)
                    std::erase_if(areas, [&](const auto& area) { return area->subtree && equalsIgnoreCase(area->path, path); });
                retiring_.clear();
                for (auto& area : inbox_)
                    if (area->arm()) areas.push_back(std::move(area));
                count_ = areas.size();
                inbox_.clear();
            }
            armed_.notify_all();
            std::vector<HANDLE> handles{owner_.quit_, wake_};
            for (auto& area : areas) handles.push_back(area->event);
            DWORD woken = WaitForMultipleObjects(DWORD(handles.size()), handles.data(), FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0) return;
            if (woken == WAIT_FAILED) {
                restart(areas);
                continue;
            }
            failures_ = 0;
            if (woken < WAIT_OBJECT_0 + 2 || woken >= WAIT_OBJECT_0 + handles.size()) continue;
            Area& area = *areas[woken - WAIT_OBJECT_0 - 2];
            const uint64_t seen = systemClockNow();
            owner_.stirred_();
            Sleep(settleMilliseconds);
            // Registered again before reading, so a change made meanwhile is not missed.
            bool alive = area.arm();
            owner_.answer(area, seen);
            if (!alive) {
                std::lock_guard lock(owner_.shadowMutex_);
                owner_.areas_.erase(area.path);
                areas.erase(areas.begin() + (woken - WAIT_OBJECT_0 - 2));
            }
        }
    }

    // A handle of the wait was closed from under the thread: every area is
    // registered anew and read again, so what changed meanwhile is found.
    // A wait that keeps failing backs off rather than spin.
    void restart(std::vector<std::unique_ptr<Area>>& areas) {
        ++owner_.restarts_;
        Sleep(DWORD(std::min(2000u, 50u << std::min(failures_++, 6u))));
        if (WaitForSingleObject(owner_.quit_, 0) == WAIT_OBJECT_0) return;
        if (!handleValid(wake_)) wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        for (size_t index = areas.size(); index-- > 0;) {
            Area& area = *areas[index];
            area.reopen();
            bool alive = area.arm();
            owner_.answer(area, systemClockNow());
            if (!alive) {
                std::lock_guard lock(owner_.shadowMutex_);
                owner_.areas_.erase(area.path);
                areas.erase(areas.begin() + ptrdiff_t(index));
            }
        }
        std::lock_guard lock(mutex_);
        count_ = areas.size() + inbox_.size();
    }

    RegistryWatch& owner_;
    uint32_t failures_ = 0;  // failed waits in a row
    HANDLE wake_;
    std::mutex mutex_;
    std::condition_variable armed_;
    std::vector<std::unique_ptr<Area>> inbox_;
    std::vector<std::string> retiring_;
    size_t count_ = 0;
    std::thread thread_;
};

RegistryWatch::RegistryWatch(std::function<void()> stirred, std::string_view kept)
    : stirred_(std::move(stirred)), ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), quit_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (!kept.empty()) shadow_.restore(kept);
    for (const WatchedRoot& root : watchedRoots) {
        std::string rootPath = std::string(root.abbreviation) + "\\" + root.subkey;
        std::vector<KeyReading> keys;
        std::vector<std::string> subkeys;
        readTree(root.root, root.subkey, rootPath, false, shadow_, keys, &subkeys);
        if (keys.empty()) continue;
        watch(std::make_unique<Area>(root.root, root.subkey, rootPath, false));
        for (const std::string& name : subkeys)
            if (!isLeftOutKey(rootPath + "\\" + name))
                watchSubtree(root.root, std::string(root.subkey) + "\\" + name, rootPath + "\\" + name);
    }
    waitArmed();
    // Read after registering, so nothing changed meanwhile goes unseen.
    std::vector<RegistryChange> changes;
    {
        std::lock_guard lock(shadowMutex_);
        for (const WatchedRoot& root : watchedRoots) {
            std::string rootPath = std::string(root.abbreviation) + "\\" + root.subkey;
            std::vector<KeyReading> keys;
            readTree(root.root, root.subkey, rootPath, true, shadow_, keys);
            if (keys.empty()) continue;
            for (RegistryChange& change : shadow_.update(rootPath, std::move(keys))) changes.push_back(std::move(change));
        }
    }
    post(std::move(changes), systemClockNow());
    splitLargeSubtrees();
}

void RegistryWatch::waitArmed() {
    std::lock_guard lock(groupsMutex_);
    for (auto& group : groups_) group->waitArmed();
}

std::vector<std::string> RegistryWatch::splitOf(const std::string& path) {
    std::lock_guard lock(shadowMutex_);
    if (shadow_.keysHeldBelow(path) <= largestWalkedSubtree) return {};
    std::vector<std::string> below = shadow_.subkeysHeld(path);
    return below.size() <= mostSubtreesPerSplit ? below : std::vector<std::string>{};
}

void RegistryWatch::watchSubtree(HKEY root, const std::string& subkey, const std::string& path) {
    std::vector<std::string> below = splitOf(path);
    if (below.empty()) {
        {
            std::lock_guard lock(shadowMutex_);
            if (firstReadingDue_) walkedWhole_.push_back({root, subkey, path});
        }
        watch(std::make_unique<Area>(root, subkey, path, true));
        return;
    }
    watchSplit(root, subkey, path, below);
}

void RegistryWatch::watchSplit(HKEY root, const std::string& subkey, const std::string& path,
                               const std::vector<std::string>& below) {
    watch(std::make_unique<Area>(root, subkey, path, false));
    for (const std::string& name : below)
        if (!isLeftOutKey(path + "\\" + name)) watchSubtree(root, subkey + "\\" + name, path + "\\" + name);
}

// A subtree first read after it was registered, as on a first run without a
// kept shadow, may turn out too large to walk: the keys below it are watched
// on their own first, so nothing goes unseen, and then its own registration
// ends.
void RegistryWatch::splitLargeSubtrees() {
    std::vector<WalkedWhole> registered;
    {
        std::lock_guard lock(shadowMutex_);
        registered.swap(walkedWhole_);
        firstReadingDue_ = false;
    }
    std::vector<std::string> split;
    for (const WalkedWhole& subtree : registered) {
        std::vector<std::string> below = splitOf(subtree.path);
        if (below.empty()) continue;
        watchSplit(subtree.root, subtree.subkey, subtree.path, below);
        split.push_back(subtree.path);
    }
    if (split.empty()) return;
    waitArmed();
    std::lock_guard lock(groupsMutex_);
    for (auto& group : groups_)
        for (const std::string& path : split) group->retireSubtree(path);
}

std::string RegistryWatch::kept() {
    std::lock_guard lock(shadowMutex_);
    return shadow_.saved();
}

RegistryWatch::~RegistryWatch() {
    SetEvent(quit_);
    std::vector<std::unique_ptr<Group>> groups;
    {
        std::lock_guard lock(groupsMutex_);
        groups.swap(groups_);
    }
    groups.clear();
    CloseHandle(quit_);
    CloseHandle(ready_);
}

void RegistryWatch::watch(std::unique_ptr<Area> area) {
    {
        std::lock_guard lock(shadowMutex_);
        areas_.insert(area->path);
    }
    std::lock_guard lock(groupsMutex_);
    if (WaitForSingleObject(quit_, 0) == WAIT_OBJECT_0) return;
    for (auto& group : groups_)
        if (group->adopt(area)) return;
    groups_.push_back(std::make_unique<Group>(*this));
    groups_.back()->adopt(area);
}

void RegistryWatch::answer(Area& area, uint64_t seen) {
    if (!area.subtree) {
        answerRoot(area, seen);
        return;
    }
    std::vector<RegistryChange> changes;
    {
        std::lock_guard lock(shadowMutex_);
        std::vector<KeyReading> keys;
        readTree(area.root, area.subkey, area.path, true, shadow_, keys);
        changes = shadow_.update(area.path, std::move(keys));
    }
    post(std::move(changes), seen);
}

// Hands the changes to take(), which holds only this lock, so the main loop
// never waits for a walk.
void RegistryWatch::post(std::vector<RegistryChange> changes, uint64_t seen) {
    if (changes.empty()) return;
    for (RegistryChange& change : changes) change.seen = seen;
    std::lock_guard lock(mutex_);
    waiting_.insert(waiting_.end(), std::make_move_iterator(changes.begin()), std::make_move_iterator(changes.end()));
    SetEvent(ready_);
}

// The root's own values, and the keys just below it: a new one is read and
// watched from now on, one gone is reported gone.
void RegistryWatch::answerRoot(Area& area, uint64_t seen) {
    std::vector<std::string> added;  // the names of keys new below it
    std::vector<RegistryChange> changes;
    {
        std::lock_guard lock(shadowMutex_);
        std::vector<KeyReading> own;
        std::vector<std::string> subkeys;
        readTree(area.root, area.subkey, area.path, false, shadow_, own, &subkeys);
        if (!own.empty()) changes = shadow_.updateValues(std::move(own.front()));
        std::set<std::string, IgnoreCaseLess> present;
        for (const std::string& name : subkeys) {
            std::string path = area.path + "\\" + name;
            present.insert(path);
            if (isLeftOutKey(path) || areas_.contains(path)) continue;
            std::vector<KeyReading> keys;
            readTree(area.root, area.subkey + "\\" + name, path, true, shadow_, keys);
            for (RegistryChange& change : shadow_.update(path, std::move(keys))) changes.push_back(std::move(change));
            added.push_back(name);
        }
        for (const std::string& path : std::vector<std::string>(areas_.begin(), areas_.end()))
            if (isJustBelow(path, area.path) && !present.contains(path))
                for (RegistryChange& change : shadow_.update(path, {})) changes.push_back(std::move(change));
    }
    post(std::move(changes), seen);
    for (const std::string& name : added) watchSubtree(area.root, area.subkey + "\\" + name, area.path + "\\" + name);
}

std::vector<RegistryChange> RegistryWatch::take() {
    std::lock_guard lock(mutex_);
    ResetEvent(ready_);
    return std::exchange(waiting_, {});
}
