#pragma once

#include <cstdint>

namespace PLATFORM {

// The calling process's id and the kernel's id of the calling thread, as
// trace lines show them.
std::uint32_t CurrentProcessId();
std::uint32_t CurrentThreadId();

}  // namespace PLATFORM
