#include "runtime/ZContext.h"

#include <zmq.h>

#include "runtime/StartupOrder.h"

namespace QXUTIL {
namespace ZEROMQ {

namespace {

constexpr std::uint32_t kTerminateLockWait = 50;  // ms

}  // namespace

std::atomic<void*> ZContext::Context{nullptr};
std::atomic<std::int32_t> ZContext::UserCount{0};
std::atomic<std::int32_t> ZContext::OpenSocketCount{0};
SEMAPHORE::Mutex ZContext::Mutex QX_STARTUP_STEP(QX_STEP_MESSAGING_CONTEXT_LOCK);

ZContext::ZContext() { ++UserCount; }

ZContext::~ZContext() {
    if (UserCount.fetch_sub(1) != 1 || Context.load() == nullptr) {
        return;
    }
    if (Mutex.Lock(kTerminateLockWait) != SEMAPHORE::Mutex::Acquired) {
        return;
    }
    if (OpenSocketCount.load() == 0) {
        if (void* context = Context.exchange(nullptr)) {
            zmq_ctx_term(context);
        }
    }
    Mutex.Unlock();
}

}  // namespace ZEROMQ
}  // namespace QXUTIL
