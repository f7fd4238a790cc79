#include "platform/FileWrite.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace PLATFORM {

int OpenFile(const std::string& nativePath, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(nativePath.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    return WriteAll(fd, bytes.data(), bytes.size());
}

}  // namespace PLATFORM
