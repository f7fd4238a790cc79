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
// CheckReply and answers the request just sent. When it does not, the socket
// breaks: the library sees the stream end before the reply's header and
// raises its own Poco::IOException (a stream swallows whatever the socket
// throws), the socket stays at end of stream from then on, and Broken() and
// FailureText() tell the real cause to whoever turns that exception into a
// DatabaseException.
//
// The library sends every request with the id 0, so a reply left over from
// an earlier exchange could not be told from the answer. The socket
// therefore numbers the requests it sends itself, and a reply must answer
// the last of them.
class GuardedSocketImpl : public Poco::Net::StreamSocketImpl {
public:
    enum class Failure {
        None,
        TimedOut,
        Closed,
        Malformed,
        // A whole, well-formed reply to the request, holding a document
        // nested too deep for the library (ReplyVerdict::TooDeep).
        Unreadable,
    };

    explicit GuardedSocketImpl(const DatabaseTimeLimits& limits);

    using Poco::Net::StreamSocketImpl::receiveBytes;
    using Poco::Net::StreamSocketImpl::sendBytes;

    // A new request: what is left of an earlier reply is dropped, and each
    // message that begins in buffer gets the socket's next request id. A
    // send that fails or outlasts the send limit breaks the socket.
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

    // Gives each message that begins in outgoing_ the next request id;
    // returns how many bytes of outgoing_ may go out now. The start of a
    // header whose id field has not all come yet waits for the rest.
    std::size_t NumberRequests();
    // Receives one whole reply into the front of buffer_; false, with the
    // socket broken, when it cannot be had in time, is malformed or answers
    // another request.
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
    // Bytes of the request being sent that wait for the rest of their
    // header; bytes of the current outgoing message still to come; the id
    // given to the last request sent (0: none yet).
    std::string outgoing_;
    std::size_t requestLeft_;
    Poco::Int32 lastRequestId_;
    Failure failure_;
    std::string failureText_;
};

}  // namespace DBACCESS
