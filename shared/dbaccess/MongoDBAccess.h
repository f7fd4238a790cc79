#pragma once

#include <string>

#include "dbaccess/GuardedConnection.h"

namespace DBACCESS {

// Borrows pooled connections for one record and gives them back. Every
// record holds one by value; a copy starts with an empty last error.
class MongoDBAccess {
public:
    MongoDBAccess();
    MongoDBAccess(const MongoDBAccess& other);
    MongoDBAccess& operator=(const MongoDBAccess& other);
    virtual ~MongoDBAccess();

    // A connection from the pool, waiting up to 2000 ms for one to come
    // back when the pool is at its peak. Null when DatabaseName is empty
    // (no connect attempt), when the wait runs out (last error empty), after
    // RefuseConnections, or when the connect fails: then the exception's
    // display text (e.g. "Connection refused: 127.0.0.1:27017", or a
    // DatabaseTimeoutException's for a connect not accepted in time) is the
    // last error and is traced. No Poco::Exception leaves it.
    GuardedConnection::Ptr GetConnection();

    // Gives a connection back to the pool (the pool closes it when it
    // already keeps 16 idle ones). Null does nothing. A Poco::Exception is
    // caught, kept as the last error and traced.
    void ReleaseConnection(GuardedConnection::Ptr connection);

    // Closes a connection on which the library failed in the middle of an
    // exchange: what is left in its socket would be read as the next reply,
    // so it never serves again. Its place in the pool is freed, so that
    // failures, however many, never use the pool up. Null does nothing;
    // nothing is thrown.
    void DiscardConnection(GuardedConnection::Ptr connection);

    // For a run that found the database unreachable: from now on every
    // GetConnection of the process returns null at once, without a connect
    // attempt, with reason as its last error, so that no later read or
    // write waits for the database again.
    static void RefuseConnections(const std::string& reason);

    // Display text of the last library exception caught here; emptied by
    // every GetConnection.
    const std::string& LastError() const;

private:
    std::string lastError_;
};

}  // namespace DBACCESS
