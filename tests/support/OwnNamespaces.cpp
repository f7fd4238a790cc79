#include "support/OwnNamespaces.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace TESTSUPPORT {

namespace {

bool WriteProcFile(const char* path, const char* text) {
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const ssize_t length = static_cast<ssize_t>(std::strlen(text));
    const bool written = write(fd, text, static_cast<std::size_t>(length)) == length;
    close(fd);
    return written;
}

bool BringLoopbackUp() {
    const int probe = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    ifreq loopback{};
    std::strncpy(loopback.ifr_name, "lo", sizeof loopback.ifr_name - 1);
    bool up = ioctl(probe, SIOCGIFFLAGS, &loopback) == 0;
    if (up) {
        loopback.ifr_flags = static_cast<short>(loopback.ifr_flags | IFF_UP);
        up = ioctl(probe, SIOCSIFFLAGS, &loopback) == 0;
    }
    close(probe);
    return up;
}

// A mount made in the new namespace must not reach the machine's: the root
// may be a shared mount.
bool MountOwnShm() {
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", "/dev/shm", "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") == 0;
}

}  // namespace

IdMaps::IdMaps() {
    std::snprintf(users, sizeof users, "%u %u 1", static_cast<unsigned>(getuid()),
                  static_cast<unsigned>(getuid()));
    std::snprintf(groups, sizeof groups, "%u %u 1", static_cast<unsigned>(getgid()),
                  static_cast<unsigned>(getgid()));
}

bool EnterOwnNamespaces(const IdMaps& ids, bool ownShm) {
    const int kinds = CLONE_NEWNET | (ownShm ? CLONE_NEWNS : 0);
    if (unshare(kinds) != 0) {
        if (unshare(CLONE_NEWUSER | kinds) != 0 || !WriteProcFile("/proc/self/setgroups", "deny") ||
            !WriteProcFile("/proc/self/uid_map", ids.users) ||
            !WriteProcFile("/proc/self/gid_map", ids.groups)) {
            return false;
        }
    }
    return (!ownShm || MountOwnShm()) && BringLoopbackUp();
}

}  // namespace TESTSUPPORT
