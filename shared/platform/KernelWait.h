#pragma once

#include <cstdint>
#include <ctime>

namespace PLATFORM {

// A wait of this many milliseconds never times out.
constexpr std::uint32_t kInfiniteWait = 0xFFFFFFFFu;

// How a wait on a kernel mutex or semaphore ended.
enum class WaitResult {
    Signaled,   // the object was taken
    Abandoned,  // a mutex whose owner died holding it: the caller now owns it
    TimedOut,
    Failed,
};

// The clock of every timed wait: a step of the wall clock neither stretches
// nor shortens a wait, as Windows measures its waits.
constexpr clockid_t kWaitClock = CLOCK_MONOTONIC;

// The kWaitClock instant `milliseconds` from now, as the timed POSIX waits
// (pthread_mutex_clocklock, sem_clockwait) expect it.
timespec WaitDeadline(std::uint32_t milliseconds);

}  // namespace PLATFORM
