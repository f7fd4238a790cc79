#include "platform/PathAccess.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/NativePath.h"
#include "platform/Win32Error.h"

namespace PLATFORM {

std::int32_t PathAccessError(const std::string& path) {
    if (path.empty()) {
        return ERROR_INVALID_NAME;
    }
    struct stat info {};
    if (::stat(NativePath(path).c_str(), &info) == 0) {
        return ERROR_SUCCESS;
    }
    switch (errno) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
        case ELOOP:
            return ERROR_PATH_NOT_FOUND;
        case ENAMETOOLONG:
            return ERROR_INVALID_NAME;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

}  // namespace PLATFORM
