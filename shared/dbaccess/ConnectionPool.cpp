#include "dbaccess/ConnectionPool.h"

#include "dbaccess/StartupOrder.h"

namespace DBACCESS {

ConnectionObjectPool ConnectionPool QX_STARTUP_STEP(QX_STEP_CONNECTION_POOL)(
    ConnectionFactory(), kConnectionPoolCapacity, kConnectionPoolPeakCapacity);

}  // namespace DBACCESS
