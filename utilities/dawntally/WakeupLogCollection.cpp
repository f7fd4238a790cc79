#include "dawntally/WakeupLogCollection.h"

std::string WakeupLogCollection() { return "wakeuplog"; }
