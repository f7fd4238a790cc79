#pragma once

#include <cstdint>
#include <ctime>

namespace PLATFORM {

// A wait of this many milliseconds never times out.
constexpr std::uint32_t InfiniteWait = 0xFFFFFFFFu;

// How a wait on a kernel mutex or semaphore ended.
enum class WaitResult {
  Signaled,   // the object was taken
  Abandoned,  // a mutex whose owner died holding it: the caller now owns it
  TimedOut,
  Failed,
};

// The CLOCK_REALTIME instant `milliseconds` from now, as the timed POSIX waits
// expect it.
timespec RealtimeDeadline(std::uint32_t milliseconds);

}  // namespace PLATFORM
