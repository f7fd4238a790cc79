#include "platform/SocketReceive.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace PLATFORM {

namespace {

using Clock = std::chrono::steady_clock;

SocketReceipt Receive(int socket, char* into, std::size_t size, int flags) {
    for (;;) {
        const ssize_t received = ::recv(socket, into, size, flags);
        if (received > 0)
            return {SocketReceipt::Status::Received, static_cast<std::size_t>(received), 0};
        if (received == 0) return {SocketReceipt::Status::Closed, 0, 0};
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {SocketReceipt::Status::TimedOut, 0, errno};
        return {SocketReceipt::Status::Failed, 0, errno};
    }
}

// Waits until socket can be read (or has failed, which the next recv
// tells) by deadline; false when the deadline passed first.
bool WaitReadable(int socket, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd wanted{socket, POLLIN, 0};
        // Rounded up, so that a wait never ends just short of the deadline.
        const auto milliseconds = std::min<std::int64_t>((left + 999) / 1000, 1 << 30);
        const int ready = ::poll(&wanted, 1, static_cast<int>(milliseconds));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return true;
    }
}

}  // namespace

SocketReceipt ReceiveWaiting(int socket, char* into, std::size_t size) {
    return Receive(socket, into, size, 0);
}

SocketReceipt ReceiveArrived(int socket, char* into, std::size_t size, std::int64_t microseconds) {
    const Clock::time_point deadline = Clock::now() + std::chrono::microseconds(microseconds);
    for (;;) {
        const SocketReceipt receipt = Receive(socket, into, size, MSG_DONTWAIT);
        if (receipt.status != SocketReceipt::Status::TimedOut) return receipt;
        if (!WaitReadable(socket, deadline)) return receipt;
    }
}

}  // namespace PLATFORM
