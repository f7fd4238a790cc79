#include "reportframe/Banner.h"

#include "runtime/SharedConstants.h"

namespace {

const char* const Maker = "Corvane";
const char* const Product = "Quorix";
const char* const BuildDate = "Apr 11 2024";

}  // namespace

std::string FormatBanner(const std::string& programName) {
    const std::string version = VersionMajor + "." + VersionMinor + "." + VersionBuild;
    return std::string(Maker) + " " + Product + "\r\n" + programName + " Version: " + version + " Built: " +
           BuildDate + "\r\n";
}
