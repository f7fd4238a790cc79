#include "dbaccess/GuardedConnection.h"

#include "Poco/Exception.h"
#include "Poco/Net/NetException.h"
#include "Poco/Net/StreamSocket.h"

#include "dbaccess/DatabaseException.h"

namespace DBACCESS {

GuardedConnection::GuardedConnection(const Poco::Net::SocketAddress& address,
                                     const DatabaseTimeLimits& limits)
    : socket_(new GuardedSocketImpl(limits)) {
    // The stream socket takes a reference of its own.
    Poco::Net::StreamSocket socket(socket_.duplicate());
    try {
        socket.connect(address, limits.connect);
    } catch (const Poco::Net::ConnectionRefusedException&) {
        // Refused after the connect was under way, the library names no address.
        throw Poco::Net::ConnectionRefusedException(address.toString());
    } catch (const Poco::TimeoutException&) {
        throw DatabaseTimeoutException(
            address.toString(),
            "the connection was not accepted within " + LimitText(limits.connect));
    }
    socket.setSendTimeout(limits.send);
    // The socket waits this long for a reply to begin (see GuardedSocketImpl).
    socket.setReceiveTimeout(limits.replyBegin);
    // A request and its write check go out as two small sends; without this
    // the second waits for the acknowledgement of the first.
    socket.setNoDelay(true);
    connect(socket);
}

GuardedConnection::~GuardedConnection() = default;

bool GuardedConnection::IsUsable() const {
    return socket_->sockfd() != POCO_INVALID_SOCKET &&
           socket_->Broken() == GuardedSocketImpl::Failure::None;
}

void GuardedConnection::ThrowSocketFailure(const std::string& context) const {
    const std::string& cause = socket_->FailureText();
    switch (socket_->Broken()) {
        case GuardedSocketImpl::Failure::None:
            return;
        case GuardedSocketImpl::Failure::TimedOut:
            throw DatabaseTimeoutException(context, cause);
        case GuardedSocketImpl::Failure::Closed:
            throw ConnectionClosedException(context, cause);
        case GuardedSocketImpl::Failure::Malformed:
            throw MalformedReplyException(context, cause);
        case GuardedSocketImpl::Failure::Unreadable:
            throw UnreadableDocumentException(context, cause);
    }
}

Poco::Int32 GuardedConnection::LastReplyFlags() const { return socket_->LastReplyFlags(); }

}  // namespace DBACCESS
