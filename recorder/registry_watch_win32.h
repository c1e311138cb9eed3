#pragma once
// The registry keys a person's programs keep their settings in, watched
// for changes on threads of their own: a registration to be told of changes
// dies, silently under Wine, with the thread that made it, so the threads
// that make them live as long as the watch. Each watched root's own key is
// watched for its values and its list of subkeys, and each key below it as
// a subtree of its own, so a change costs reading one vendor's keys again
// rather than the whole root.

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "recorder/registry_shadow.h"

class RegistryWatch {
public:
    // Reads the watched keys whole into the shadow, then watches them.
    RegistryWatch();
    ~RegistryWatch();
    RegistryWatch(const RegistryWatch&) = delete;
    RegistryWatch& operator=(const RegistryWatch&) = delete;

    // Set while changes wait to be taken.
    HANDLE ready() const { return ready_; }
    // The changes found since the last take, oldest first.
    std::vector<RegistryChange> take();
    // Times a thread's wait failed and its keys were registered and read again.
    uint32_t restarts() const { return restarts_; }

    struct Area;
    class Group;

private:
    void watch(std::unique_ptr<Area> area);
    void answer(Area& area);
    void answerRoot(Area& area);
    void post(std::vector<RegistryChange> changes);

    std::mutex mutex_;  // guards the shadow, the waiting changes and the areas watched
    RegistryShadow shadow_;
    std::vector<RegistryChange> waiting_;
    std::set<std::string, IgnoreCaseLess> areas_;
    std::mutex groupsMutex_;  // guards the threads' list, which their own answers may extend
    std::vector<std::unique_ptr<Group>> groups_;
    HANDLE ready_;
    HANDLE quit_;
    std::atomic<uint32_t> restarts_ = 0;
};
