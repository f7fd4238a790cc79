#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelMutex.h"

namespace SEMAPHORE {

// Owner of one kernel mutex. An empty name gives a mutex private to the
// process; a name N means the machine-wide mutex "Global\N".
class Mutex {
public:
    // Lock results.
    static constexpr int Acquired = 0;
    static constexpr int TimedOut = 258;
    static constexpr int NotAcquired = 128;  // no handle, a failed wait, or an abandoned mutex
    static constexpr std::uint32_t kInfinite = PLATFORM::kInfiniteWait;

    // Starts as an unnamed, process-private mutex.
    Mutex();
    virtual ~Mutex();

    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // Replaces the held mutex. With a name, openExisting true creates or joins
    // "Global\" + name; false creates only and refuses one that exists. False
    // for a refused or forbidden mutex (no handle is kept); true otherwise,
    // even when no handle could be had (Lock then gives 128).
    bool Create(const std::string& name, bool openExisting);

    // 0 acquired, 258 time-out, 128 otherwise. A mutex whose owner ended while
    // holding it gives 128 although the caller now owns it and must Unlock it.
    virtual int Lock(std::uint32_t milliseconds);

    // Gives back one hold; does nothing without a handle.
    virtual void Unlock();

protected:
    // Closes the held handle, if any.
    void CloseHandle();

    bool HasHandle() const { return handle_ != nullptr; }

private:
    std::unique_ptr<PLATFORM::KernelMutex> handle_;
};

}  // namespace SEMAPHORE
