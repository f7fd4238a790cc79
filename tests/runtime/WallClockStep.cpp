#include "WallClockStep.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<time_t> step{0};

}  // namespace

WallClockStep::WallClockStep(time_t seconds) { step = seconds; }

WallClockStep::~WallClockStep() { step = 0; }

// Takes the place of the C library's clock_gettime for the whole test
// binary (the code under test is linked into it); the kernel's own call
// keeps the sanitizers' interceptors and the C library out of the way.
extern "C" int clock_gettime(clockid_t clock, struct timespec* time) {
    if (syscall(SYS_clock_gettime, clock, time) != 0) {
        return -1;
    }
    if (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE) {
        time->tv_sec += step.load(std::memory_order_relaxed);
    }
    return 0;
}
