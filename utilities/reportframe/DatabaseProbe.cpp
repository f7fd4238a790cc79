#include "reportframe/DatabaseProbe.h"

#include "dbaccess/MongoDBAccess.h"

std::string DatabaseUnreachableReason() {
    DBACCESS::MongoDBAccess access;
    const DBACCESS::GuardedConnection::Ptr connection = access.GetConnection();
    if (connection.isNull()) {
        const std::string why = access.LastError().empty()
                                    ? std::string("no connection could be had")
                                    : access.LastError();
        // The reads that follow find no database at once instead of each
        // waiting for it again.
        DBACCESS::MongoDBAccess::RefuseConnections(why);
        return "cannot reach the database: " + why;
    }
    // Back to the pool, where the first read finds it.
    access.ReleaseConnection(connection);
    return std::string();
}
