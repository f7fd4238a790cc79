#pragma once

#include <string>

// Fixed texts shared by the runtime, the database layer and the programs.

extern const std::string
    kDataLocationValueName;                    // "DataLocation": registry value of the data folder
extern const std::string kDefaultDataDrive;    // "C:": drive of the default data folder
extern const std::string kTraceFolderName;     // "\TRACELOGS": below the data folder
extern const std::string kTraceFileExtension;  // ".ltt"
extern const std::string kTraceCollectorHost;  // "127.0.0.1": host of the trace collector
extern const std::string kNoErrorText;         // "None": a socket's error text with no error
extern const std::string kVersionMajor;        // "8"
extern const std::string kVersionMinor;        // "0"
extern const std::string kVersionBuild;        // "32"
