#include "runtime/Semaphore.h"

#include <cerrno>

#include "platform/KernelObjectName.h"

namespace SEMAPHORE {

Semaphore::Semaphore() = default;

Semaphore::~Semaphore() = default;

bool Semaphore::Create(const std::string& name) {
    handle_.reset();
    if (name.empty()) {
        handle_ = PLATFORM::KernelSemaphore::CreateUnnamed(0, kMaximumCount);
    } else {
        handle_ = PLATFORM::KernelSemaphore::CreateNamed(PLATFORM::kGlobalNamePrefix + name, 0,
                                                         kMaximumCount);
    }
    return handle_ != nullptr;
}

bool Semaphore::Open(const std::string& name) {
    if (name.empty()) {
        openError_ = EINVAL;
        return false;
    }
    handle_ = PLATFORM::KernelSemaphore::OpenNamed(PLATFORM::kGlobalNamePrefix + name,
                                                   kMaximumCount, openError_);
    return handle_ != nullptr;
}

}  // namespace SEMAPHORE
