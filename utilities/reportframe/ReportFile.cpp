#include "reportframe/ReportFile.h"

#include "platform/NativePath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Lines are gathered and written in blocks of about this size.
constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

ReportFile::ReportFile(const std::string& path, Links links) {
    int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    if (links == Links::Refuse) {
        flags |= O_NOFOLLOW;
    }
    const std::string native = PLATFORM::NativePath(path);
    do {
        fd_ = ::open(native.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        // O_NOFOLLOW reports a planted link as "too many levels of links";
        // say what it is.
        error_ = (links == Links::Refuse && errno == ELOOP) ? "it is a symbolic link"
                                                            : std::strerror(errno);
    }
}

ReportFile::~ReportFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void ReportFile::WriteLine(const std::string& line) {
    if (fd_ < 0) {
        return;
    }
    pending_ += line;
    pending_ += '\n';
    if (pending_.size() >= kBlock) {
        Flush();
    }
}

bool ReportFile::Close() {
    if (fd_ < 0) {
        return false;
    }
    Flush();
    if (::close(fd_) != 0 && error_.empty()) {
        Fail("close");
    }
    fd_ = -1;
    return error_.empty();
}

void ReportFile::Flush() {
    std::size_t done = 0;
    while (error_.empty() && done < pending_.size()) {
        const ssize_t n = ::write(fd_, pending_.data() + done, pending_.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail("write");
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    pending_.clear();
}

void ReportFile::Fail(const std::string& what) {
    error_ = what + " failed: " + std::strerror(errno);
}
