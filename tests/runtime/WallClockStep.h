#pragma once

#include <ctime>

// A step of the wall clock for one test, as an administrator or a time
// service makes one: while a WallClockStep lives, every CLOCK_REALTIME read
// of this test binary through clock_gettime is off by `seconds`. The kernel
// keeps its own time, so a wait that was to end at a wall-clock instant
// computed from a stepped read ends `seconds` early or late, which is what a
// real step in the middle of that wait does to it. The monotonic clock is
// never touched.
class WallClockStep {
public:
    explicit WallClockStep(time_t seconds);
    ~WallClockStep();

    WallClockStep(const WallClockStep&) = delete;
    WallClockStep& operator=(const WallClockStep&) = delete;
};
