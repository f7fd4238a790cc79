#include "runtime/ZPushService.h"

#include "runtime/StartupOrder.h"
#include "runtime/ZPushServiceSocket.h"

namespace QXUTIL {
namespace ZEROMQ {

SEMAPHORE::Mutex ZPushService::Mutex QX_STARTUP_STEP(QX_STEP_MESSAGING_SOCKETS_LOCK);
std::map<std::string, std::unique_ptr<ZPushService::ZPushServiceSocket>> ZPushService::Sockets
    QX_STARTUP_STEP(QX_STEP_MESSAGING_SOCKETS);
std::atomic<std::int32_t> ZPushService::UserCount{0};

namespace {

// Holds the registry lock for a scope, when it can be had.
class RegistryLock {
public:
    RegistryLock()
        : held_(ZPushService::Mutex.Lock(SEMAPHORE::Mutex::kInfinite) ==
                SEMAPHORE::Mutex::Acquired) {}
    ~RegistryLock() {
        if (held_) {
            ZPushService::Mutex.Unlock();
        }
    }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;

    bool Held() const { return held_; }

private:
    bool held_;
};

// Releases a socket's reference and destroys it.
void Discard(std::unique_ptr<ZPushService::ZPushServiceSocket> socket) {
    if (socket) {
        socket->Release();
    }
}

}  // namespace

ZPushService::ZPushService() { ++UserCount; }

ZPushService::~ZPushService() {
    if (UserCount.fetch_sub(1) != 1) {
        return;
    }
    const RegistryLock lock;
    if (!lock.Held()) {
        return;
    }
    for (auto& entry : Sockets) {
        Discard(std::move(entry.second));
    }
    Sockets.clear();
}

int ZPushService::Connect(const std::string& endpoint) {
    const RegistryLock lock;
    if (!lock.Held()) {
        return -1;
    }
    const auto known = Sockets.find(endpoint);
    if (known != Sockets.end() && known->second) {
        return known->second->Connect(endpoint);
    }
    auto socket = std::make_unique<ZPushServiceSocket>();
    const int result = socket->Connect(endpoint);
    if (result == 0) {
        Sockets[endpoint] = std::move(socket);
    }
    return result;
}

void ZPushService::SetLinger(const std::string& endpoint, int milliseconds) {
    if (milliseconds < 0) {
        return;
    }
    const RegistryLock lock;
    if (!lock.Held()) {
        return;
    }
    const auto known = Sockets.find(endpoint);
    if (known != Sockets.end() && known->second) {
        known->second->SetLinger(milliseconds);
    }
}

void ZPushService::Send(const std::string& endpoint, const std::string& text) {
    const RegistryLock lock;
    if (!lock.Held()) {
        return;
    }
    const auto known = Sockets.find(endpoint);
    if (known == Sockets.end()) {
        auto socket = std::make_unique<ZPushServiceSocket>();
        if (socket->Connect(endpoint) != 0) {
            return;
        }
        if (socket->Send(text) == 0) {
            Sockets.emplace(endpoint, std::move(socket));
        } else {
            Discard(std::move(socket));
        }
        return;
    }
    // A socket closed since (ZPush::Send would report 0 without sending) is
    // dropped like one whose send failed.
    ZPushServiceSocket* socket = known->second.get();
    if (!socket || !socket->IsOpen() || socket->Send(text) != 0) {
        Discard(std::move(known->second));
        Sockets.erase(known);
    }
}

void ZPushService::Disconnect(const std::string& endpoint) {
    const RegistryLock lock;
    if (!lock.Held()) {
        return;
    }
    const auto known = Sockets.find(endpoint);
    if (known != Sockets.end()) {
        Discard(std::move(known->second));
        Sockets.erase(known);
    }
}

}  // namespace ZEROMQ
}  // namespace QXUTIL
