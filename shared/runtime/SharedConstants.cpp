#include "runtime/SharedConstants.h"

#include "runtime/StartupOrder.h"

const std::string kDataLocationValueName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "DataLocation";
const std::string kDefaultDataDrive QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "C:";
const std::string kTraceFolderName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "\\TRACELOGS";
const std::string kTraceFileExtension QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = ".ltt";
const std::string kTraceCollectorHost QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "127.0.0.1";
const std::string kNoErrorText QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "None";
const std::string kVersionMajor QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "8";
const std::string kVersionMinor QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "0";
const std::string kVersionBuild QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "32";
