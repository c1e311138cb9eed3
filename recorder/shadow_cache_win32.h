#pragma once
// The recorder's copies of small watched files as they are now, kept on
// disk in the saved-copy format outside the Undo Bin. When a file changes,
// its copy is the content from before, ready to become the change's saved
// copy; then the copy is taken again.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/ignore_case_hash.h"
#include "recorder/shadow_policy.h"

class ShadowCache {
public:
    // Keeps its copies in `folder`. The copies an earlier run kept, with the
    // index it left, are taken over: they hold the content from before any
    // change made while the recorder was away. Without an index the folder is
    // emptied first.
    ShadowCache(std::string folder, uint64_t undoBinSize);

    // Writes the index, for the next run to take over the copies.
    void keep() const;

    // Takes a copy of the file as it is now, when its class and the budget
    // allow; forgets the one it had otherwise.
    void refresh(const std::string& path, uint64_t size);
    // Forgets the file's copy, and with a folder those of everything below it.
    void forget(const std::string& path);
    // The file, and with a folder everything below it, is known by the new path.
    void rename(const std::string& from, const std::string& to);

    // The copy of the file in the saved-copy format; nothing when none is held.
    std::optional<std::string> copyOf(const std::string& path) const;

    size_t count() const { return held_.size(); }

private:
    struct Held {
        std::string file;
        uint64_t bytes = 0;
        ShadowClass shadowClass = ShadowClass::None;
    };
    std::string freshFile();
    bool takeOver(std::string_view index);

    std::string folder_;
    ShadowBudget budget_;
    std::map<std::string, Held, IgnoreCaseLess> held_;
    uint32_t next_ = 0;
};

// The whole file, opened so as to hold off no one who writes, renames or
// deletes it meanwhile; retried briefly while a writer keeps it to itself.
std::optional<std::string> readWithoutHolding(const std::string& path);
