#include "runtime/SharedConstants.h"

#include "runtime/StartupOrder.h"

const std::string DataLocationValueName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "DataLocation";
const std::string DefaultDataDrive QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "C:";
const std::string TraceFolderName QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "\\TRACELOGS";
const std::string TraceFileExtension QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = ".ltt";
const std::string TraceCollectorHost QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "127.0.0.1";
const std::string NoErrorText QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "None";
const std::string VersionMajor QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "8";
const std::string VersionMinor QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "0";
const std::string VersionBuild QX_STARTUP_STEP(QX_STEP_SHARED_CONSTANTS) = "32";
