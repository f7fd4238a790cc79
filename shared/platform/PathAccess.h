#pragma once

#include <cstdint>
#include <string>

namespace PLATFORM {

// Whether a file or folder exists at path (translated by NativePath), as the
// Win32 error code of the existence test: ERROR_SUCCESS when it does,
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (a part of the path is not a
// folder), ERROR_INVALID_NAME (empty or too long), else ERROR_ACCESS_DENIED.
std::int32_t PathAccessError(const std::string& path);

}  // namespace PLATFORM
