#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelWait.h"

namespace PLATFORM {

// A recursive mutex that survives the death of its owner: the next waiter is
// told WaitResult::Abandoned and owns it from then on. Unnamed mutexes are
// private to the process; named ones live in POSIX shared memory and are
// shared by every process of the machine that opens the same name.
class KernelMutex {
public:
    // Outcome of opening a named mutex.
    enum class OpenStatus {
        Created,        // no mutex of that name existed; this one is new
        Opened,         // joined an existing mutex
        AlreadyExists,  // create only, and the name is taken: nothing opened
        AccessDenied,   // the object exists but may not be opened
        Failed,         // any other failure: nothing opened
    };

    static std::unique_ptr<KernelMutex> CreateUnnamed();

    // kernelName is the full "Global\NAME". With createOnly an existing mutex
    // is refused. Returns null unless status is Created or Opened.
    static std::unique_ptr<KernelMutex> OpenNamed(const std::string& kernelName, bool createOnly,
                                                  OpenStatus& status);

    // Closing a handle first gives up the holds the calling thread took
    // through it, so no thread is left waiting on an owner that can no longer
    // release them; holds taken through another handle of the same mutex stay.
    // A named mutex disappears with its last handle.
    ~KernelMutex();

    KernelMutex(const KernelMutex&) = delete;
    KernelMutex& operator=(const KernelMutex&) = delete;

    // The owner may wait again; each successful wait needs one Release.
    WaitResult Wait(std::uint32_t milliseconds);

    // Gives back one hold, one taken through this handle first. False when
    // the calling thread does not own the mutex.
    bool Release();

private:
    struct Shared;

    KernelMutex() = default;

    // Counts a hold the caller, now the owner, took through this handle.
    void NoteHold();

    Shared* shared_ = nullptr;  // the mutex itself: on the heap or mapped shared memory
    int fd_ = -1;               // the shared-memory object of a named mutex
    std::string posixName_;     // its name, for removal with the last handle
    // The holds taken through this handle, valid while the mutex's ownership
    // number is holdsOwnership_ (that is, within one owner's tenure). Changed
    // only by the owner.
    std::uint32_t holds_ = 0;
    std::uint64_t holdsOwnership_ = 0;
};

}  // namespace PLATFORM
