#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "runtime/ZPush.h"
#include "runtime/ZPushService.h"

namespace QXUTIL {
namespace ZEROMQ {

// A PUSH socket shared by reference: the first Connect connects it, later
// ones only count; the release of the last reference closes it.
class ZPushService::ZPushServiceSocket : public ZPush {
public:
    ZPushServiceSocket() = default;
    // Release, then the socket's own close.
    ~ZPushServiceSocket() override;

    // Adds a reference; 0 when the socket was connected already, else the
    // connect result. A connect that fails takes its reference back.
    int Connect(const std::string& endpoint) override;

    // Gives up a reference; the last one closes the socket.
    virtual void Release();

    std::int32_t References() const { return references_.load(); }

private:
    std::atomic<std::int32_t> references_{0};
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
