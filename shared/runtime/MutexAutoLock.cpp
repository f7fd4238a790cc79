#include "runtime/MutexAutoLock.h"

namespace SEMAPHORE {

MutexAutoLock::MutexAutoLock(const std::string& prefix, const std::string& name) {
    Create(name.empty() ? prefix : prefix + name, true);
    if (HasHandle()) {
        Mutex::Lock(kInfinite);
    }
}

MutexAutoLock::~MutexAutoLock() {
    Mutex::Unlock();
    CloseHandle();
}

}  // namespace SEMAPHORE
