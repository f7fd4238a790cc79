#pragma once

#include <string>

#include "dbaccess/DatabaseTimeLimits.h"
#include "dbaccess/GuardedConnection.h"

namespace DBACCESS {

// The pool's factory of connections: each a GuardedConnection, opened at
// once. Unlike the library's own factory it refuses a connection that is
// closed or broken when it comes back, so the pool drops it and frees its
// place instead of keeping it idle or counting it for ever.
class PoolableConnectionFactory {
public:
    PoolableConnectionFactory(const std::string& address, const DatabaseTimeLimits& limits);

    // A new open connection; the connect's exception passes on.
    GuardedConnection::Ptr createObject();
    // True when the connection may serve again.
    bool validateObject(GuardedConnection::Ptr connection);
    void activateObject(GuardedConnection::Ptr connection);
    void deactivateObject(GuardedConnection::Ptr connection);
    void destroyObject(GuardedConnection::Ptr connection);

private:
    std::string address_;
    DatabaseTimeLimits limits_;
};

}  // namespace DBACCESS
