#include "dbaccess/ConnectionPool.h"

namespace DBACCESS {

ConnectionObjectPool ConnectionPool(ConnectionFactory(), ConnectionPoolCapacity,
                                    ConnectionPoolPeakCapacity);

}  // namespace DBACCESS
