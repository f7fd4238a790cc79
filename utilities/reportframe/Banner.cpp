#include "reportframe/Banner.h"

#include "runtime/SharedConstants.h"

namespace {

const char* const kMaker = "Corvane";
const char* const kProduct = "Quorix";
const char* const kBuildDate = "Apr 11 2024";

}  // namespace

std::string FormatBanner(const std::string& programName) {
    const std::string version = kVersionMajor + "." + kVersionMinor + "." + kVersionBuild;
    return std::string(kMaker) + " " + kProduct + "\r\n" + programName + " Version: " + version +
           " Built: " + kBuildDate + "\r\n";
}
