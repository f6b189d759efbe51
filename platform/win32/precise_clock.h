// The high-resolution clock of the timing tools and benchmarks:
// QueryPerformanceCounter read as microseconds or milliseconds. One reading
// for all of them, so that times taken in different processes (a benchmark
// and the stand-in CAD's log) compare.
#pragma once

#include <windows.h>

namespace morvane {

inline long long microsecondsNow() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    // Whole seconds and the rest apart, so the product cannot overflow.
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

inline double millisecondsNow() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

} // namespace morvane
