#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "Poco/Net/StreamSocketImpl.h"
#include "Poco/Types.h"

#include "dbaccess/DatabaseTimeLimits.h"

namespace DBACCESS {

// The socket of a pooled connection. The MongoDB library reads a reply
// straight off the socket and trusts it: a reply cut short by a dying
// server, or one whose lengths do not add up, makes it loop for ever or
// abort the process, and a server that stalls or trickles would hold it for
// as long as it likes. This socket therefore hands the library nothing of a
// reply until the whole reply has arrived within the time limits and passed
// CheckReply. When it does not, the socket breaks: the library sees the
// stream end before the reply's header and raises its own Poco::IOException
// (a stream swallows whatever the socket throws), the socket stays at end
// of stream from then on, and Broken() and FailureText() tell the real
// cause to whoever turns that exception into a DatabaseException.
class GuardedSocketImpl : public Poco::Net::StreamSocketImpl {
public:
    enum class Failure {
        None,
        TimedOut,
        Closed,
        Malformed,
    };

    explicit GuardedSocketImpl(const DatabaseTimeLimits& limits);

    using Poco::Net::StreamSocketImpl::receiveBytes;
    using Poco::Net::StreamSocketImpl::sendBytes;

    // A new request: what is left of an earlier reply is dropped. A send
    // that fails or outlasts the send limit breaks the socket.
    int sendBytes(const void* buffer, int length, int flags = 0) override;
    // Bytes of the current reply, fetched whole first; 0 (end of stream)
    // when it could not be had. The wait for a reply to begin is the
    // receive timeout, which GuardedConnection sets to limits.replyBegin.
    int receiveBytes(void* buffer, int length, int flags = 0) override;

    // What broke the socket; Failure::None while it is sound.
    Failure Broken() const;
    // The cause in words, e.g. "no reply began within 300 s"; empty while
    // the socket is sound.
    const std::string& FailureText() const;
    // The response flags of the last whole reply (QueryFailure and so on,
    // which the library does not show).
    Poco::Int32 LastReplyFlags() const;

protected:
    ~GuardedSocketImpl() override;

private:
    using Clock = std::chrono::steady_clock;

    // Receives one whole reply into the front of buffer_; false, with the
    // socket broken, when it cannot be had in time or is malformed.
    bool FetchReply();
    // Receives until buffer_ holds at least size bytes, by deadline; false,
    // with the socket broken, when time runs out or the connection ends
    // (closed saying where in the reply).
    bool ReceiveUntil(std::size_t size, Clock::time_point deadline, const char* closed);
    // Makes room in buffer_ for at least size bytes.
    void Reserve(std::size_t size);
    void Break(Failure failure, const std::string& text);

    const DatabaseTimeLimits limits_;
    // Bytes received: the current reply, [0, replyEnd_), of which offset_
    // are handed out, then up to received_ whatever came after it.
    std::string buffer_;
    std::size_t received_;
    std::size_t replyEnd_;
    std::size_t offset_;
    Poco::Int32 replyFlags_;
    Failure failure_;
    std::string failureText_;
};

}  // namespace DBACCESS
