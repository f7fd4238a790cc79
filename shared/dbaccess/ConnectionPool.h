#pragma once

#include <cstddef>

#include "Poco/ObjectPool.h"

#include "dbaccess/ConnectionFactory.h"

namespace DBACCESS {

using ConnectionObjectPool =
    Poco::ObjectPool<GuardedConnection, GuardedConnection::Ptr, PoolableConnectionFactory>;

// Most idle connections the pool keeps; a connection returned beyond them
// is closed.
constexpr std::size_t kConnectionPoolCapacity = 16;
// Most connections that may exist at once, idle or lent.
constexpr std::size_t kConnectionPoolPeakCapacity = 2048;

// The process-wide pool over a copy of ConnectionFactory(). Only
// MongoDBAccess borrows from it and gives back to it.
extern ConnectionObjectPool ConnectionPool;

}  // namespace DBACCESS
