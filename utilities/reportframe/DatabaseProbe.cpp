#include "reportframe/DatabaseProbe.h"

#include "dbaccess/MongoDBAccess.h"

std::string DatabaseUnreachableReason() {
    DBACCESS::MongoDBAccess access;
    Poco::MongoDB::Connection::Ptr connection = access.GetConnection();
    if (connection.isNull()) {
        return "cannot reach the database: " +
               (access.LastError().empty() ? std::string("no connection could be had")
                                           : access.LastError());
    }
    // Back to the pool, where the first read finds it.
    access.ReleaseConnection(connection);
    return std::string();
}
