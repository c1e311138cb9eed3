#pragma once
// Which files the recorder keeps a current copy of, so that when one is
// changed or deleted its earlier content is at hand: a notification comes
// only after the change. Settings files are what a program's session undo
// needs; documents are what a person misses most. Each kind has its own
// share of the Undo Bin's size, so the cache never outgrows the bin.

#include <cstdint>
#include <string_view>

enum class ShadowClass { None, Settings, Document };

inline constexpr uint64_t largestShadowedSettingsFile = 256 * 1024;
inline constexpr uint64_t largestShadowedDocument = 1024 * 1024;

// The share a file would take: INI and configuration files up to 256 KB,
// other files up to 1 MB; none above that.
ShadowClass shadowClassOf(std::string_view path, uint64_t size);

// The room each class has: 5 % of UndoBinSize for settings files, 10 % for
// documents. Sizes are those of the stored (compressed) copies.
class ShadowBudget {
public:
    explicit ShadowBudget(uint64_t undoBinSize);
    // Takes room for a copy of `bytes`; false, and nothing taken, when the
    // class's share would overflow.
    bool take(ShadowClass shadowClass, uint64_t bytes);
    void give(ShadowClass shadowClass, uint64_t bytes);
    uint64_t used(ShadowClass shadowClass) const;

private:
    uint64_t limit_[3] = {};
    uint64_t used_[3] = {};
};
