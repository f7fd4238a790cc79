#include "platform/KernelSemaphore.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>

#include "platform/KernelObjectName.h"
#include "platform/ThreadSanitizerNotes.h"

namespace PLATFORM {

namespace {

// POSIX semaphores know no maximum: a release checks the count and posts
// under this lock, which keeps the bound exact among the threads of this
// process (other processes are not held by it).
std::mutex releaseLock;

// Where glibc keeps named semaphores; the object is made readable and
// writable for every user, whatever the process's umask.
void OpenToEveryone(const std::string& posixName) {
  chmod(("/dev/shm/sem." + posixName.substr(1)).c_str(), 0666);
}

}  // namespace

KernelSemaphore::KernelSemaphore(sem_t* semaphore, bool named, std::uint32_t maximumCount)
    : semaphore_(semaphore), named_(named), maximumCount_(maximumCount) {}

std::unique_ptr<KernelSemaphore> KernelSemaphore::CreateUnnamed(std::uint32_t initialCount,
                                                                std::uint32_t maximumCount) {
  if (initialCount > maximumCount) {
    return nullptr;
  }
  auto* semaphore = new sem_t;
  if (sem_init(semaphore, 0, initialCount) != 0) {
    delete semaphore;
    return nullptr;
  }
  return std::unique_ptr<KernelSemaphore>(new KernelSemaphore(semaphore, false, maximumCount));
}

std::unique_ptr<KernelSemaphore> KernelSemaphore::CreateNamed(const std::string& kernelName,
                                                              std::uint32_t initialCount,
                                                              std::uint32_t maximumCount) {
  const std::string posixName = PosixObjectName(kernelName);
  if (posixName.empty() || initialCount > maximumCount) {
    return nullptr;
  }
  // Another process may remove the semaphore between the two calls; a few
  // rounds settle that.
  for (int round = 0; round < 3; ++round) {
    sem_t* semaphore = sem_open(posixName.c_str(), O_CREAT | O_EXCL, 0666, initialCount);
    if (semaphore != SEM_FAILED) {
      OpenToEveryone(posixName);
      return std::unique_ptr<KernelSemaphore>(new KernelSemaphore(semaphore, true, maximumCount));
    }
    if (errno != EEXIST) {
      return nullptr;
    }
    semaphore = sem_open(posixName.c_str(), 0);
    if (semaphore != SEM_FAILED) {
      return std::unique_ptr<KernelSemaphore>(new KernelSemaphore(semaphore, true, maximumCount));
    }
    if (errno != ENOENT) {
      return nullptr;
    }
  }
  return nullptr;
}

std::unique_ptr<KernelSemaphore> KernelSemaphore::OpenNamed(const std::string& kernelName,
                                                            std::uint32_t maximumCount) {
  const std::string posixName = PosixObjectName(kernelName);
  if (posixName.empty()) {
    return nullptr;
  }
  sem_t* semaphore = sem_open(posixName.c_str(), 0);
  if (semaphore == SEM_FAILED) {
    return nullptr;
  }
  return std::unique_ptr<KernelSemaphore>(new KernelSemaphore(semaphore, true, maximumCount));
}

KernelSemaphore::~KernelSemaphore() {
  if (named_) {
    sem_close(semaphore_);
  } else {
    sem_destroy(semaphore_);
    delete semaphore_;
  }
}

WaitResult KernelSemaphore::Wait(std::uint32_t milliseconds) {
  int rc;
  if (milliseconds == InfiniteWait) {
    while ((rc = sem_wait(semaphore_)) != 0 && errno == EINTR) {
    }
  } else if (milliseconds == 0) {
    rc = sem_trywait(semaphore_);
  } else {
    const timespec deadline = WaitDeadline(milliseconds);
    while ((rc = sem_clockwait(semaphore_, WaitClock, &deadline)) != 0 && errno == EINTR) {
    }
    if (rc == 0) {
      NoteSemaphoreTaken(semaphore_);
    }
  }
  if (rc == 0) {
    return WaitResult::Signaled;
  }
  return (errno == EAGAIN || errno == ETIMEDOUT) ? WaitResult::TimedOut : WaitResult::Failed;
}

bool KernelSemaphore::Release(std::uint32_t count) {
  std::lock_guard<std::mutex> hold(releaseLock);
  int value = 0;
  if (sem_getvalue(semaphore_, &value) != 0 || value < 0 ||
      static_cast<std::uint64_t>(value) + count > maximumCount_) {
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    if (sem_post(semaphore_) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace PLATFORM
