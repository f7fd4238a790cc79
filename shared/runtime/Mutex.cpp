#include "runtime/Mutex.h"

#include "platform/KernelObjectName.h"

namespace SEMAPHORE {

Mutex::Mutex() { Create("", false); }

Mutex::~Mutex() { CloseHandle(); }

void Mutex::CloseHandle() { handle_.reset(); }

bool Mutex::Create(const std::string& name, bool openExisting) {
    CloseHandle();
    if (name.empty()) {
        handle_ = PLATFORM::KernelMutex::CreateUnnamed();
        return true;
    }
    PLATFORM::KernelMutex::OpenStatus status;
    handle_ =
        PLATFORM::KernelMutex::OpenNamed(PLATFORM::kGlobalNamePrefix + name, !openExisting, status);
    return status != PLATFORM::KernelMutex::OpenStatus::AccessDenied &&
           status != PLATFORM::KernelMutex::OpenStatus::AlreadyExists;
}

int Mutex::Lock(std::uint32_t milliseconds) {
    if (!handle_) {
        return NotAcquired;
    }
    switch (handle_->Wait(milliseconds)) {
        case PLATFORM::WaitResult::Signaled:
            return Acquired;
        case PLATFORM::WaitResult::TimedOut:
            return TimedOut;
        case PLATFORM::WaitResult::Abandoned:
        case PLATFORM::WaitResult::Failed:
            break;
    }
    return NotAcquired;
}

void Mutex::Unlock() {
    if (handle_) {
        handle_->Release();
    }
}

}  // namespace SEMAPHORE
