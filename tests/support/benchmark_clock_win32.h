#pragma once
// Time for the benchmarks that run under Wine: a millisecond clock and the
// median of a few runs.

#include <windows.h>

#include <algorithm>
#include <vector>

inline double now() {
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart) / 1000;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / ticksPerMillisecond;
}

inline double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}
