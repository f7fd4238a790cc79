#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "runtime/Mutex.h"

namespace QXUTIL {
namespace ZEROMQ {

// A handle on the process's registry of PUSH sockets by endpoint: each
// endpoint is connected once and its socket reused for every message until
// a send fails or the last handle ends. Without the registry lock (before
// its initialiser ran or after it was destroyed) nothing is sent.
class ZPushService {
public:
    class ZPushServiceSocket;

    ZPushService();
    // The last handle releases and destroys every registered socket.
    virtual ~ZPushService();

    ZPushService(const ZPushService&) = delete;
    ZPushService& operator=(const ZPushService&) = delete;

    // Connects the endpoint's socket, or adds a reference to the one there.
    // -1 when the registry lock cannot be had, else the connect result.
    virtual int Connect(const std::string& endpoint);

    // Sets the linger of the endpoint's socket, when there is one.
    virtual void SetLinger(const std::string& endpoint, int milliseconds);

    // Sends text to the endpoint's socket, connecting one first when needed.
    // A socket whose send fails is dropped; the next send connects anew.
    void Send(const std::string& endpoint, const std::string& text);

    // Releases, destroys and forgets the endpoint's socket.
    void Disconnect(const std::string& endpoint);

    // The registry; read and changed only under Mutex.
    static std::map<std::string, std::unique_ptr<ZPushServiceSocket>> Sockets;
    // Live handles.
    static std::atomic<std::int32_t> UserCount;
    // Guards Sockets; waited on without a time limit.
    static SEMAPHORE::Mutex Mutex;
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
