#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/Mutex.h"

namespace QXUTIL {
namespace ZEROMQ {

// A scope guard on the process's messaging context. The last guard to end
// terminates the context when no socket is open in it, so a context lives
// only while someone uses it. The programs never make a context: Context
// stays null and every socket creation fails.
class ZContext {
public:
    ZContext();
    virtual ~ZContext();

    ZContext(const ZContext&) = delete;
    ZContext& operator=(const ZContext&) = delete;

    // The context every socket is made in; null when there is none.
    static std::atomic<void*> Context;
    // Live guards.
    static std::atomic<std::int32_t> UserCount;
    // Sockets bound or connected and not yet closed.
    static std::atomic<std::int32_t> OpenSocketCount;
    // Taken, for at most 50 ms, to terminate the context.
    static SEMAPHORE::Mutex Mutex;
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
