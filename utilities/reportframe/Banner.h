#pragma once

#include <string>

// The two banner lines, each ended by "\r\n": maker and product, then the
// program's name, version and build date.
std::string FormatBanner(const std::string& programName);
