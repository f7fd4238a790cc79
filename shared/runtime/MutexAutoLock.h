#pragma once

#include <string>

#include "runtime/Mutex.h"

namespace SEMAPHORE {

// Holds the machine-wide mutex "Global\" + prefix + name for its lifetime,
// creating it or joining it; an empty name adds nothing to the prefix.
// Waits without limit, so another process that never releases the mutex
// blocks the constructor for ever.
class MutexAutoLock : public Mutex {
public:
    MutexAutoLock(const std::string& prefix, const std::string& name);
    ~MutexAutoLock() override;
};

}  // namespace SEMAPHORE
