#include "dbaccess/ConnectionFactory.h"

namespace DBACCESS {

const char* const kDatabaseAddress = "127.0.0.1:27017";

PoolableConnectionFactory& ConnectionFactory() {
    static PoolableConnectionFactory factory(kDatabaseAddress, DatabaseTimeLimits());
    return factory;
}

}  // namespace DBACCESS
