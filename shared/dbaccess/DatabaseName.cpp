#include "dbaccess/DatabaseName.h"

namespace DBACCESS {

std::string DatabaseName = "kelden";

}  // namespace DBACCESS
