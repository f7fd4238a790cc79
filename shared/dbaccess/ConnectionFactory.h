#ifndef DBACCESS_CONNECTIONFACTORY_H
#define DBACCESS_CONNECTIONFACTORY_H

#include <string>

#include "Poco/MongoDB/Connection.h"
#include "Poco/MongoDB/PoolableConnectionFactory.h"

namespace DBACCESS {

// The library's poolable-object factory for MongoDB connections.
using PoolableConnectionFactory =
    Poco::PoolableObjectFactory<Poco::MongoDB::Connection, Poco::MongoDB::Connection::Ptr>;

// Host and port of the product's database server.
extern const char* const DatabaseAddress;  // "127.0.0.1:27017"

// Longest wait for one receive or send on a pooled connection, so that a
// server that stops answering in the middle of a reply ends the read with
// an exception instead of hanging the report.
extern const long DatabaseSocketTimeoutSeconds;

// The process-wide factory of the pool: every connection it makes is
// opened at once to DatabaseAddress over a GuardedSocketImpl with the
// timeout above. Built on first use, which is the pool's construction.
PoolableConnectionFactory& ConnectionFactory();

}  // namespace DBACCESS

#endif
