#include "platform/KernelWait.h"

namespace PLATFORM {

timespec WaitDeadline(std::uint32_t milliseconds) {
    timespec deadline{};
    clock_gettime(kWaitClock, &deadline);
    deadline.tv_sec += static_cast<time_t>(milliseconds / 1000);
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

}  // namespace PLATFORM
