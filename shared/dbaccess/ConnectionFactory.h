#pragma once

#include "dbaccess/PoolableConnectionFactory.h"

namespace DBACCESS {

// Host and port of the product's database server.
extern const char* const kDatabaseAddress;  // "127.0.0.1:27017"

// The process-wide factory of the pool: every connection it makes is
// opened at once to kDatabaseAddress with the product's time limits
// (DatabaseTimeLimits). Built on first use, which is the pool's
// construction.
PoolableConnectionFactory& ConnectionFactory();

}  // namespace DBACCESS
