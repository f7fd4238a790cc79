#pragma once

#include <string>

#include "Poco/AutoPtr.h"
#include "Poco/MongoDB/Connection.h"
#include "Poco/Net/SocketAddress.h"
#include "Poco/SharedPtr.h"
#include "Poco/Types.h"

#include "dbaccess/DatabaseTimeLimits.h"
#include "dbaccess/GuardedSocketImpl.h"

namespace DBACCESS {

// A connection over a GuardedSocketImpl: every connection of the pool is
// one, and the pool hands them out as such. It keeps its socket at hand, so
// that what the socket saw of the last exchange (its failure, the reply's
// flags) can be told to the caller.
class GuardedConnection : public Poco::MongoDB::Connection {
public:
    using Ptr = Poco::SharedPtr<GuardedConnection>;

    // Connects at once. A refused connect raises the library's
    // Poco::Net::ConnectionRefusedException; one that is not accepted within
    // limits.connect raises DatabaseTimeoutException.
    GuardedConnection(const Poco::Net::SocketAddress& address, const DatabaseTimeLimits& limits);
    ~GuardedConnection() override;

    // False once the connection is closed or its socket broke: it must not
    // serve another exchange.
    bool IsUsable() const;

    // Called where the library raised Poco::IOException over this
    // connection: when its socket broke, raises the DatabaseException of the
    // cause (timed out, closed, malformed) with context (what was being
    // done) in front of the cause; otherwise returns and the caller
    // rethrows.
    void ThrowSocketFailure(const std::string& context) const;
    // The response flags of the last whole reply.
    Poco::Int32 LastReplyFlags() const;

private:
    Poco::AutoPtr<GuardedSocketImpl> socket_;
};

}  // namespace DBACCESS
