#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelSemaphore.h"

namespace SEMAPHORE {

// Owner of one counting semaphore (initial count 0, maximum 200). Its users
// wait on and release the handle itself.
class Semaphore {
public:
    static constexpr std::uint32_t kMaximumCount = 200;

    Semaphore();
    virtual ~Semaphore();

    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    // Creates "Global\" + name, or opens it when it exists; an empty name gives
    // a semaphore private to the process. True when a handle is held.
    bool Create(const std::string& name);

    // Opens the existing "Global\" + name in place of a held handle. False for
    // an empty name (nothing changes) or an unknown one (no handle is left).
    bool Open(const std::string& name);

    // Why the last Open failed: ENOENT no semaphore of that name exists,
    // EINVAL the name is empty or its object is no semaphore (damaged), else
    // the system's reason. 0 after an Open that succeeded.
    int OpenError() const { return openError_; }

    // Null when none is held.
    PLATFORM::KernelSemaphore* Handle() const { return handle_.get(); }

private:
    std::unique_ptr<PLATFORM::KernelSemaphore> handle_;
    int openError_ = 0;
};

}  // namespace SEMAPHORE
