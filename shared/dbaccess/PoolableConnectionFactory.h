#pragma once

#include <string>

#include "Poco/MongoDB/Connection.h"

#include "dbaccess/DatabaseTimeLimits.h"

namespace DBACCESS {

// The pool's factory of connections: each a GuardedConnection, opened at
// once. Unlike the library's own factory it refuses a connection that is
// closed or broken when it comes back, so the pool drops it and frees its
// place instead of keeping it idle or counting it for ever.
class PoolableConnectionFactory {
public:
    PoolableConnectionFactory(const std::string& address, const DatabaseTimeLimits& limits);

    // A new open connection; the connect's exception passes on.
    Poco::MongoDB::Connection::Ptr createObject();
    // True when the connection may serve again.
    bool validateObject(Poco::MongoDB::Connection::Ptr connection);
    void activateObject(Poco::MongoDB::Connection::Ptr connection);
    void deactivateObject(Poco::MongoDB::Connection::Ptr connection);
    void destroyObject(Poco::MongoDB::Connection::Ptr connection);

private:
    std::string address_;
    DatabaseTimeLimits limits_;
};

}  // namespace DBACCESS
