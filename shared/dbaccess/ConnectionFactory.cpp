#include "dbaccess/ConnectionFactory.h"

namespace DBACCESS {

const char* const DatabaseAddress = "127.0.0.1:27017";

PoolableConnectionFactory& ConnectionFactory()
{
    static PoolableConnectionFactory factory(DatabaseAddress, DatabaseTimeLimits());
    return factory;
}

}  // namespace DBACCESS
