#include "dbaccess/ConnectionFactory.h"

#include "dbaccess/GuardedSocketFactory.h"

namespace DBACCESS {

const char* const DatabaseAddress = "127.0.0.1:27017";

// Long enough for a slow scan of a large activity collection to deliver
// its first batch, short enough that a hung server ends the report.
const long DatabaseSocketTimeoutSeconds = 30;

PoolableConnectionFactory& ConnectionFactory()
{
    // The socket factory must outlive the pool's copy of this factory; both
    // statics are complete before the pool is, so both die after it.
    static GuardedSocketFactory sockets(Poco::Timespan(DatabaseSocketTimeoutSeconds, 0));
    static PoolableConnectionFactory factory(std::string("mongodb://") + DatabaseAddress, sockets);
    return factory;
}

}  // namespace DBACCESS
