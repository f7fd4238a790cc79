#pragma once

#include <string>

#include "Poco/AutoPtr.h"
#include "Poco/MongoDB/Connection.h"
#include "Poco/Net/SocketAddress.h"
#include "Poco/Types.h"

#include "dbaccess/DatabaseTimeLimits.h"
#include "dbaccess/GuardedSocketImpl.h"

namespace DBACCESS {

// A connection over a GuardedSocketImpl: every connection of the pool is
// one. It keeps its socket at hand, so that what the socket saw of the last
// exchange (its failure, the reply's flags) can be told to the caller.
class GuardedConnection : public Poco::MongoDB::Connection {
public:
    // Connects at once. A refused connect raises the library's
    // Poco::Net::ConnectionRefusedException; one that is not accepted within
    // limits.connect raises DatabaseTimeoutException.
    GuardedConnection(const Poco::Net::SocketAddress& address, const DatabaseTimeLimits& limits);
    ~GuardedConnection() override;

    // False once the connection is closed or its socket broke: it must not
    // serve another exchange.
    bool IsUsable() const;

    // Called where the library raised Poco::IOException over connection:
    // when its socket broke, raises the DatabaseException of the cause
    // (timed out, closed, malformed) with context (what was being done) in
    // front of the cause; otherwise returns and the caller rethrows.
    static void ThrowSocketFailure(const Poco::MongoDB::Connection& connection,
                                   const std::string& context);
    // The response flags of connection's last whole reply; 0 for a
    // connection of another kind.
    static Poco::Int32 LastReplyFlags(const Poco::MongoDB::Connection& connection);

private:
    // The socket of connection when it is a GuardedConnection, else null.
    static const GuardedSocketImpl* SocketOf(const Poco::MongoDB::Connection& connection);

    Poco::AutoPtr<GuardedSocketImpl> socket_;
};

}  // namespace DBACCESS
