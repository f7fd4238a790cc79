#include "platform/WritableFile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/RunFiles.h"

namespace PLATFORM {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// What mkostemp fills in to make the name of a replacement its own.
const char kUniqueEnd[] = ".XXXXXX";

// Read without changing it: umask(2) can only set it, which would race with
// any other thread creating a file.
mode_t ProcessUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "re");
    if (status != nullptr) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                std::fclose(status);
                return static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
            }
        }
        std::fclose(status);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// The file a native path ends at: the path itself, or, while it names a
// symbolic link, the link's target (a relative target taken from the link's
// folder). The target need not exist. False, with errno set, for a chain of
// more than 40 links (ELOOP) or a link that cannot be read.
bool FinalLinkTarget(const std::string& nativePath, std::string& target) {
    std::string path = nativePath;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        if (hop == kMaxLinks) {
            break;
        }
        std::vector<char> text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
        const ssize_t size = ::readlink(path.c_str(), text.data(), text.size());
        if (size < 0) {
            return false;
        }
        if (static_cast<std::size_t>(size) >= text.size()) {
            errno = ENAMETOOLONG;  // the link grew while being read
            return false;
        }
        std::string next(text.data(), static_cast<std::size_t>(size));
        if (next.empty() || next.front() != '/') {
            const std::size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = next;
    }
    errno = ELOOP;
    return false;
}

// The mkostemp pattern of the file beside `target`: its name and ".XXXXXX",
// the name cut short where that would not fit the longest name the folder
// takes (so that any name PATH may have works), and never inside a UTF-8
// character.
std::string ReplacementPattern(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, nameAt);
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t room =
        static_cast<std::size_t>(longest > static_cast<long>(sizeof kUniqueEnd) ? longest
                                                                                : NAME_MAX) -
        (sizeof kUniqueEnd - 1);
    std::size_t end = target.size();
    if (end - nameAt > room) {
        end = nameAt + room;
        while (end > nameAt && (static_cast<unsigned char>(target[end]) & 0xC0) == 0x80) {
            --end;
        }
    }
    return target.substr(0, end) + kUniqueEnd;
}

int OpenDescriptor(const std::string& nativePath, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(nativePath.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

WritableFile::~WritableFile() {
    CloseDescriptor();
    if (!replacement_.empty()) {
        RemoveFile(replacement_);
    }
}

bool WritableFile::Open(const std::string& nativePath, unsigned flags, mode_t mode) {
    const int openFlags =
        O_WRONLY | ((flags & kCreate) != 0 ? O_CREAT : 0) |
        ((flags & kExclusive) != 0 ? O_EXCL : 0) | ((flags & kTruncate) != 0 ? O_TRUNC : 0) |
        ((flags & kAppend) != 0 ? O_APPEND : 0) | ((flags & kNoFollow) != 0 ? O_NOFOLLOW : 0);
    std::optional<StopSignalsHeld> held;
    if ((flags & kRunFile) != 0) {
        held.emplace();
    }
    fd_ = OpenDescriptor(nativePath, openFlags, mode);
    if (fd_ < 0) {
        return Failed("open");
    }
    if (held) {
        AddRunFile(nativePath);
    }
    return true;
}

bool WritableFile::OpenReplacement(const std::string& nativePath) {
    // The system's own view of what the path names, links followed.
    struct stat info {};
    const bool exists = ::stat(nativePath.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    std::string target;
    if (exists && S_ISREG(info.st_mode)) {
        // The file to replace is the one the links lead to; a link that the
        // system resolves its own way ("/dev/stdout" to an open descriptor)
        // leads nowhere that can be replaced, and is written directly.
        struct stat found {};
        if (!FinalLinkTarget(nativePath, target) || ::stat(target.c_str(), &found) != 0 ||
            found.st_dev != info.st_dev || found.st_ino != info.st_ino) {
            return Open(nativePath, kTruncate);
        }
    } else if (!exists) {
        if (!FinalLinkTarget(nativePath, target)) {
            return false;
        }
    } else if (S_ISFIFO(info.st_mode)) {
        return OpenFifo(nativePath);
    } else {
        return Open(nativePath, kTruncate);
    }
    mode_ = exists ? (info.st_mode & 07777) : (0666 & ~ProcessUmask());
    const std::string pattern = ReplacementPattern(target);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const StopSignalsHeld held;
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        return Failed("open");
    }
    replacement_ = name.data();
    target_ = target;
    AddRunFile(replacement_);
    return true;
}

// Opening a FIFO for writing waits until some process opens it for reading,
// which may be never: it is opened without waiting, and then written as any
// other file, each write waiting for the reader to take the bytes.
bool WritableFile::OpenFifo(const std::string& nativePath) {
    fd_ = OpenDescriptor(nativePath, O_WRONLY | O_NONBLOCK, 0);
    if (fd_ < 0) {
        noReader_ = errno == ENXIO;
        return Failed("open");
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int why = errno;
        CloseDescriptor();
        errno = why;
        return Failed("fcntl");
    }
    return true;
}

bool WritableFile::Append(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return Failed("write");
        }
        if (written == 0) {
            errno = EIO;
            return Failed("write");
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool WritableFile::Append(const std::string& bytes) { return Append(bytes.data(), bytes.size()); }

bool WritableFile::Sync() { return ::fsync(fd_) == 0 || Failed("fsync"); }

bool WritableFile::Truncate() { return ::ftruncate(fd_, 0) == 0 || Failed("ftruncate"); }

bool WritableFile::SetMode(mode_t mode) { return ::fchmod(fd_, mode) == 0 || Failed("chmod"); }

bool WritableFile::SetTimes(const struct timespec& access, const struct timespec& write) {
    const struct timespec times[2] = {access, write};
    return ::futimens(fd_, times) == 0 || Failed("futimens");
}

std::int64_t WritableFile::Size() const {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

bool WritableFile::IsAt(const std::string& nativePath) const {
    struct stat open {};
    struct stat atPath {};
    return ::fstat(fd_, &open) == 0 && ::stat(nativePath.c_str(), &atPath) == 0 &&
           atPath.st_dev == open.st_dev && atPath.st_ino == open.st_ino;
}

bool WritableFile::Close() {
    if (fd_ < 0) {
        errno = EBADF;
        return Failed("close");
    }
    const bool prepared = replacement_.empty() || (SetMode(mode_) && Sync());
    const int why = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!prepared) {
        errno = why;
        return false;
    }
    return closed || Failed("close");
}

bool WritableFile::PutInPlace() {
    if (replacement_.empty()) {
        return true;
    }
    if (std::rename(replacement_.c_str(), target_.c_str()) != 0) {
        return Failed("rename");
    }
    DropRunFile(replacement_);
    replacement_.clear();
    return true;
}

bool WritableFile::Failed(const char* call) {
    failedCall_ = call;
    return false;
}

void WritableFile::CloseDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool RemoveFile(const std::string& nativePath) {
    const bool removed = ::unlink(nativePath.c_str()) == 0;
    DropRunFile(nativePath);
    return removed;
}

bool CreateFolder(const std::string& nativePath, mode_t mode) {
    return ::mkdir(nativePath.c_str(), mode) == 0;
}

}  // namespace PLATFORM
