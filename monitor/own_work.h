#pragma once
// Retrace's own work (the restores, recycles and Redo-folder copies of an
// undo, a redo or a Start Over, and the registry and INI entries they write
// back) is not the person's, and the recorder must not record it. Directory
// notices name no process, so Retrace says when it works instead: while it
// does, and for a short grace after, for the notices still on their way,
// what the recorder sees is Retrace's.

#include <cstdint>

inline constexpr uint64_t ownWorkGraceMilliseconds = 1000;

struct OwnWorkWindow {
    int64_t underway = 0;  // pieces of own work begun and not yet ended
    uint64_t lastEnd = 0;  // system tick count at the latest end
};

// Whether a change seen at `now` (the same system tick count) is Retrace's.
inline bool ownWorkCovers(const OwnWorkWindow& window, uint64_t now) {
    return window.underway > 0 || (window.lastEnd != 0 && now <= window.lastEnd + ownWorkGraceMilliseconds);
}
