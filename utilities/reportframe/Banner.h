#ifndef REPORTFRAME_BANNER_H
#define REPORTFRAME_BANNER_H

#include <string>

// The two banner lines, each ended by "\r\n": maker and product, then the
// program's name, version and build date.
std::string FormatBanner(const std::string& programName);

#endif
