#include "dbaccess/DatabaseName.h"

#include "dbaccess/StartupOrder.h"

namespace DBACCESS {

std::string DatabaseName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "kelden";

}  // namespace DBACCESS
