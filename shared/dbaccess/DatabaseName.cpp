#include "dbaccess/DatabaseName.h"

#include "runtime/StartupOrder.h"

namespace DBACCESS {

std::string DatabaseName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "kelden";

}  // namespace DBACCESS
