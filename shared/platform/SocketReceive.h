#pragma once

#include <cstddef>
#include <cstdint>

namespace PLATFORM {

// How a receive on a stream socket ended.
struct SocketReceipt {
    enum class Status {
        Received,  // count bytes, at least one
        TimedOut,
        Closed,  // the peer ended the connection
        Failed,  // error holds errno
    };

    Status status;
    std::size_t count;
    int error;
};

// One recv(2) of at most size bytes on a blocking socket, which waits for
// the first byte as long as the socket's receive timeout (SO_RCVTIMEO)
// lets it; again after an interrupted call.
SocketReceipt ReceiveWaiting(int socket, char* into, std::size_t size);

// What has arrived already, at most size bytes; when nothing has, waits up
// to microseconds for the first byte. Costs one recv(2) when bytes are
// there.
SocketReceipt ReceiveArrived(int socket, char* into, std::size_t size, std::int64_t microseconds);

}  // namespace PLATFORM
