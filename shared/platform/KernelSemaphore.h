#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelWait.h"

namespace PLATFORM {

// A counting semaphore with an upper bound on its count. Unnamed ones are
// private to the process; named ones are POSIX named semaphores, so other
// programs of the machine (the mail sender among them) open them by name.
class KernelSemaphore {
public:
    static std::unique_ptr<KernelSemaphore> CreateUnnamed(std::uint32_t initialCount,
                                                          std::uint32_t maximumCount);

    // Creates the semaphore "Global\NAME", or opens it when it exists (its
    // count is then left as it is). Null when neither works, also when the
    // existing object is no semaphore.
    static std::unique_ptr<KernelSemaphore> CreateNamed(const std::string& kernelName,
                                                        std::uint32_t initialCount,
                                                        std::uint32_t maximumCount);

    // Opens an existing named semaphore. Null when that cannot be done, with
    // error telling why: ENOENT there is none, EINVAL the object under the
    // name is no semaphore (a damaged or foreign file; it is never mapped),
    // else the system's reason (EACCES, ...). error is 0 on success.
    static std::unique_ptr<KernelSemaphore> OpenNamed(const std::string& kernelName,
                                                      std::uint32_t maximumCount, int& error);

    ~KernelSemaphore();

    KernelSemaphore(const KernelSemaphore&) = delete;
    KernelSemaphore& operator=(const KernelSemaphore&) = delete;

    // Takes one count, waiting up to `milliseconds` for it.
    WaitResult Wait(std::uint32_t milliseconds);

    // Adds `count`. Fails, changing nothing, when the count would pass the
    // maximum; errno then tells why: EOVERFLOW the maximum, EINVAL an object
    // that holds no valid count (damaged), EFAULT a named semaphore whose
    // file another process cut short since it was opened, else the system's
    // reason.
    bool Release(std::uint32_t count);

private:
    struct Native;

    KernelSemaphore(Native* native, std::uint32_t maximumCount);

    Native* native_;  // the system's semaphore
    std::uint32_t maximumCount_;
};

}  // namespace PLATFORM
