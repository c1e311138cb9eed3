#pragma once
// When a batch of notices closes: once nothing more has come for a short
// quiet spell, or once the batch has been open long enough that its oldest
// change would reach the report late. A program's save (write a temporary
// file, rename it over the old one) comes in one burst, well inside the
// quiet spell, and so lands in one batch.

#include <cstdint>

inline constexpr uint64_t batchQuietMilliseconds = 100;
inline constexpr uint64_t batchLongestMilliseconds = 500;

// Milliseconds left to wait for more notices; 0 when the batch closes now.
inline uint64_t batchWaitLeft(uint64_t now, uint64_t firstNotice, uint64_t lastNotice) {
    uint64_t quietEnds = lastNotice + batchQuietMilliseconds, longestEnds = firstNotice + batchLongestMilliseconds;
    uint64_t closes = quietEnds < longestEnds ? quietEnds : longestEnds;
    return now >= closes ? 0 : closes - now;
}

// Milliseconds left before the batch closes when whoever names the program
// needs `answerDelay` after a change to answer for it. The delay counts from
// the latest notice, but from no later than the batch's longest span, so
// that a steady stream of changes still closes batches.
inline uint64_t batchCloseLeft(uint64_t now, uint64_t firstNotice, uint64_t lastNotice, uint64_t answerDelay) {
    uint64_t latest = lastNotice < firstNotice + batchLongestMilliseconds ? lastNotice : firstNotice + batchLongestMilliseconds;
    uint64_t answered = latest + answerDelay;
    uint64_t left = answered > now ? answered - now : 0;
    uint64_t settled = batchWaitLeft(now, firstNotice, lastNotice);
    return left > settled ? left : settled;
}
