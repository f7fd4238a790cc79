#include "platform/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/WritableFile.h"

namespace PLATFORM {

bool ReadFileContents(const std::string& nativePath, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    // O_NONBLOCK keeps a FIFO given by mistake from hanging the run.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<unsigned long long>(info.st_size) <= maxBytes;
    if (ok) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        std::vector<char> chunk(64 * 1024);
        for (;;) {
            const ssize_t n = ::read(fd, chunk.data(), chunk.size());
            if (n == 0) {
                break;
            }
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ok = false;
                break;
            }
            if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
                ok = false;  // grew while being read
                break;
            }
            bytes.append(chunk.data(), static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes) {
    struct stat info {};
    if (::stat(nativePath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return false;
    }
    WritableFile file;
    return file.OpenReplacement(nativePath) && file.Append(bytes) && file.Close() &&
           file.PutInPlace();
}

}  // namespace PLATFORM
