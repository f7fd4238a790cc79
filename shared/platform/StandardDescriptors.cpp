#include "platform/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace PLATFORM {

namespace {

bool IsClosed(int fd) { return ::fcntl(fd, F_GETFD) < 0 && errno == EBADF; }

// The lowest free descriptor is the one to fill, since those below it are
// open; anything else is moved into place.
bool OpenNullOn(int fd) {
    int opened;
    do {
        opened = ::open("/dev/null", O_RDWR);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        return false;
    }
    if (opened == fd) {
        return true;
    }
    const bool moved = ::dup2(opened, fd) == fd;
    ::close(opened);
    return moved;
}

}  // namespace

bool OpenClosedStandardDescriptors(ClosedDescriptors& closed) {
    closed.input = IsClosed(0);
    closed.output = IsClosed(1);
    closed.error = IsClosed(2);
    bool ok = true;
    const bool was[] = {closed.input, closed.output, closed.error};
    for (int fd = 0; fd < 3; ++fd) {
        if (was[fd] && !OpenNullOn(fd)) {
            ok = false;
        }
    }
    return ok;
}

}  // namespace PLATFORM
