#pragma once

#include <string>

// Fixed texts shared by the runtime, the database layer and the programs.

extern const std::string DataLocationValueName;  // "DataLocation": registry value of the data folder
extern const std::string DefaultDataDrive;       // "C:": drive of the default data folder
extern const std::string TraceFolderName;        // "\TRACELOGS": below the data folder
extern const std::string TraceFileExtension;     // ".ltt"
extern const std::string TraceCollectorHost;     // "127.0.0.1": host of the trace collector
extern const std::string NoErrorText;            // "None": a socket's error text with no error
extern const std::string VersionMajor;           // "8"
extern const std::string VersionMinor;           // "0"
extern const std::string VersionBuild;           // "32"
