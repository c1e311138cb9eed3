#pragma once
// The registry keys a person's programs keep their settings in, watched
// for changes on threads of their own: a registration to be told of changes
// dies, silently under Wine, with the thread that made it, so the threads
// that make them live as long as the watch. Each watched root's own key is
// watched for its values and its list of subkeys, and each key below it as
// a subtree of its own, so a change costs reading one vendor's keys again
// rather than the whole root. A vendor with too many keys for that is split
// the same way, as deep as it takes.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "recorder/registry_shadow.h"

class RegistryWatch {
public:
    // Reads the watched keys whole into the shadow, then watches them. Given
    // the shadow an earlier run kept, what differs from it waits to be taken.
    // `stirred` is called on a watch thread the moment a key is seen to
    // change, before it is read.
    explicit RegistryWatch(std::function<void()> stirred, std::string_view kept = {});
    ~RegistryWatch();
    RegistryWatch(const RegistryWatch&) = delete;
    RegistryWatch& operator=(const RegistryWatch&) = delete;

    // Set while changes wait to be taken.
    HANDLE ready() const { return ready_; }
    // The changes found since the last take, oldest first.
    std::vector<RegistryChange> take();
    // Times a thread's wait failed and its keys were registered and read again.
    uint32_t restarts() const { return restarts_; }
    // The shadow as bytes, for the next run.
    std::string kept();

    struct Area;
    class Group;

private:
    void watch(std::unique_ptr<Area> area);
    // Watches the subtree at `path`, split where the shadow holds too many
    // keys below it to walk on each change.
    void watchSubtree(HKEY root, const std::string& subkey, const std::string& path);
    // The keys just below `path` to watch on their own, as the shadow holds
    // them; none when its subtree is small enough to walk, or too wide.
    std::vector<std::string> splitOf(const std::string& path);
    // The key's own values and list of subkeys, and a subtree per key below.
    void watchSplit(HKEY root, const std::string& subkey, const std::string& path,
                    const std::vector<std::string>& below);
    void splitLargeSubtrees();
    void waitArmed();
    void answer(Area& area, uint64_t seen);
    void answerRoot(Area& area, uint64_t seen);
    void post(std::vector<RegistryChange> changes, uint64_t seen);

    std::mutex shadowMutex_;  // guards the shadow and the areas watched, held while walking
    RegistryShadow shadow_;
    std::set<std::string, IgnoreCaseLess> areas_;
    // The subtrees registered whole before the first reading showed their size.
    struct WalkedWhole {
        HKEY root;
        std::string subkey;
        std::string path;
    };
    std::vector<WalkedWhole> walkedWhole_;
    bool firstReadingDue_ = true;
    std::mutex mutex_;  // guards the waiting changes alone, which take() needs
    std::vector<RegistryChange> waiting_;
    std::mutex groupsMutex_;  // guards the threads' list, which their own answers may extend
    std::vector<std::unique_ptr<Group>> groups_;
    std::function<void()> stirred_;
    HANDLE ready_;
    HANDLE quit_;
    std::atomic<uint32_t> restarts_ = 0;
};
