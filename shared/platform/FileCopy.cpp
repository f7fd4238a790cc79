#include "platform/FileCopy.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/FileWrite.h"
#include "platform/NativePath.h"

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

  // Closes now and tells whether the close succeeded (it may report a
  // delayed write error).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

bool CopyContents(int source, int target) {
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
    if (!WriteAll(target, buffer.data(), static_cast<std::size_t>(got))) {
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
  if (source.Get() < 0 || ::fstat(source.Get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode)) {
    return false;
  }
  const mode_t mode = sourceInfo.st_mode & 07777;
  // Not truncated on open: the target may turn out to be the source itself.
  Descriptor target(::open(targetPath.c_str(),
                           O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : 0), mode));
  struct stat targetInfo {};
  if (target.Get() < 0 || ::fstat(target.Get(), &targetInfo) != 0) {
    return false;
  }
  if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino) {
    return false;
  }
  const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
  const bool copied =
      ::ftruncate(target.Get(), 0) == 0 && CopyContents(source.Get(), target.Get());
  if (copied) {
    // Only the owner may change these; a target of another user keeps its own.
    (void)::fchmod(target.Get(), mode);
    (void)::futimens(target.Get(), times);
  }
  if (!target.Close() || !copied) {
    ::unlink(targetPath.c_str());
    return false;
  }
  return true;
}

}  // namespace PLATFORM
