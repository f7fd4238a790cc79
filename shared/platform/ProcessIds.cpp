#include "platform/ProcessIds.h"

#include <unistd.h>

namespace PLATFORM {

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(getpid()); }

std::uint32_t CurrentThreadId() { return static_cast<std::uint32_t>(gettid()); }

}  // namespace PLATFORM
