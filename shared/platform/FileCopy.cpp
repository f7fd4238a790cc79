#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/NativePath.h"
#include "platform/WritableFile.h"

namespace PLATFORM {

namespace {

// Closes the descriptor it holds when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }

private:
    int fd_;
};

bool CopyContents(int source, WritableFile& target) {
    std::vector<char> buffer(1 << 20);
    while (true) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!target.Append(buffer.data(), static_cast<std::size_t>(got))) {
            return false;
        }
    }
}

}  // namespace

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    const std::string sourcePath = NativePath(from);
    const std::string targetPath = NativePath(to);
    Descriptor source(::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceInfo {};
    if (source.Get() < 0 || ::fstat(source.Get(), &sourceInfo) != 0 ||
        !S_ISREG(sourceInfo.st_mode)) {
        return false;
    }
    const mode_t mode = sourceInfo.st_mode & 07777;
    // Not truncated on open: the target may turn out to be the source itself.
    const unsigned flags =
        failIfExists ? WritableFile::kCreate | WritableFile::kExclusive : WritableFile::kCreate;
    WritableFile target;
    if (!target.Open(targetPath, flags, mode) || target.IsAt(sourcePath)) {
        return false;
    }
    const bool copied = target.Truncate() && CopyContents(source.Get(), target);
    if (copied) {
        // Only the owner may change these; a target of another user keeps its own.
        (void)target.SetMode(mode);
        (void)target.SetTimes(sourceInfo.st_atim, sourceInfo.st_mtim);
    }
    if (!target.Close() || !copied) {
        RemoveFile(targetPath);
        return false;
    }
    return true;
}

}  // namespace PLATFORM
