#pragma once

#include <cstdint>

namespace PLATFORM {

// The Win32 error codes the system's code compares against. The layer
// returns these numbers so that the system keeps its own terms.
constexpr std::int32_t ERROR_SUCCESS = 0;
constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::int32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
constexpr std::int32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::int32_t ERROR_BAD_NETPATH = 53;
constexpr std::int32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::int32_t ERROR_INVALID_NAME = 123;
constexpr std::int32_t ERROR_ALREADY_EXISTS = 183;
constexpr std::int32_t ERROR_MORE_DATA = 234;

}  // namespace PLATFORM
