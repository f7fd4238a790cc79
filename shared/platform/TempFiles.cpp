#include "platform/TempFiles.h"

#include <stdlib.h>
#include <unistd.h>

#include <vector>

#include "platform/RunFiles.h"

namespace PLATFORM {

bool GetTempFolder(std::string& folder) {
    const char* fromEnvironment = getenv("TMPDIR");
    std::string result =
        fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "/tmp";
    if (result.back() != '/') {
        result += '/';
    }
    if (result.size() + 1 > kMaxTempPath) {
        return false;
    }
    folder = result;
    return true;
}

bool CreateUniqueTempFile(const std::string& folder, const std::string& prefix, std::string& path) {
    static const std::string suffix = ".tmp";
    std::string pattern = folder + prefix + "XXXXXX" + suffix;
    if (pattern.size() + 1 > kMaxTempPath) {
        return false;
    }
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const StopSignalsHeld held;
    const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        return false;
    }
    close(fd);
    path = name.data();
    AddRunFile(path);
    return true;
}

}  // namespace PLATFORM
