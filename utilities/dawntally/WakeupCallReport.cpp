#include "dawntally/WakeupCallReport.h"

void BuildWakeupCallReport(int, const std::string&, const std::string&) {}
