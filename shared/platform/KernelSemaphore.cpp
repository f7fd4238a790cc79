#include "platform/KernelSemaphore.h"

#include <fcntl.h>
#include <semaphore.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "platform/KernelObjectName.h"
#include "platform/ThreadSanitizerNotes.h"

namespace PLATFORM {

namespace {

// POSIX semaphores know no maximum: a release checks the count and posts
// under this lock, which keeps the bound exact among the threads of this
// process (other processes are not held by it).
std::mutex releaseLock;

// Where glibc keeps a named semaphore.
std::string SemaphoreFile(const std::string& posixName) {
    return "/dev/shm/sem." + posixName.substr(1);
}

// The object is made readable and writable for every user, whatever the
// process's umask.
void OpenToEveryone(const std::string& posixName) { chmod(SemaphoreFile(posixName).c_str(), 0666); }

// sem_open maps the object's file without looking at its size, and the
// first use of a file shorter than a semaphore (a zero-length one that any
// user may leave under the name) ends the process with SIGBUS. So the file
// is looked at first: 0 when it can hold a semaphore, ENOENT when there is
// none, EINVAL when it is no semaphore, else why it cannot be opened.
int CheckSemaphoreFile(const std::string& posixName) {
    int fd;
    do {
        // As sem_open opens it; O_NONBLOCK keeps a FIFO from stalling the check.
        fd = open(SemaphoreFile(posixName).c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // A link, a folder, a socket: something, but no semaphore.
        return (errno == ELOOP || errno == EISDIR || errno == ENXIO) ? EINVAL : errno;
    }
    struct stat info {};
    const bool fit = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                     static_cast<unsigned long long>(info.st_size) >= sizeof(sem_t);
    close(fd);
    return fit ? 0 : EINVAL;
}

// sem_open(posixName, 0) of an object that passed CheckSemaphoreFile.
sem_t* OpenChecked(const std::string& posixName) {
    const int unfit = CheckSemaphoreFile(posixName);
    if (unfit != 0) {
        errno = unfit;
        return SEM_FAILED;
    }
    return sem_open(posixName.c_str(), 0);
}

// Adds count unless the count would pass maximum: 0, else EOVERFLOW, EINVAL
// for a count that is no count (a damaged object) or sem_post's reason.
// It holds nothing that needs undoing, so a jump out of it (PostGuarded)
// leaves nothing behind.
int Post(sem_t* semaphore, std::uint32_t count, std::uint32_t maximum) {
    int value = 0;
    if (sem_getvalue(semaphore, &value) != 0 || value < 0) {
        return EINVAL;
    }
    if (static_cast<std::uint64_t>(value) + count > maximum) {
        return EOVERFLOW;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (sem_post(semaphore) != 0) {
            return errno;
        }
    }
    return 0;
}

// Where a bus error met during PostGuarded returns to, on the thread that
// posts; null elsewhere.
thread_local sigjmp_buf* busErrorReturn = nullptr;

void ReturnFromBusError(int) {
    if (busErrorReturn == nullptr) {
        // Not ours: the default action ends the process when the faulting
        // access is made again.
        signal(SIGBUS, SIG_DFL);
        return;
    }
    siglongjmp(*busErrorReturn, 1);
}

// Post on a named semaphore. Its file was checked when it was opened, but a
// process may cut it short since (it is open to every user), and touching the
// mapping beyond the file's end raises SIGBUS: that is caught here and
// reported as EFAULT. Called under releaseLock, which keeps the handler
// swap to one thread at a time.
int PostGuarded(sem_t* semaphore, std::uint32_t count, std::uint32_t maximum) {
    sigjmp_buf here;
    busErrorReturn = &here;
    struct sigaction guard {};
    guard.sa_handler = ReturnFromBusError;
    sigemptyset(&guard.sa_mask);
    struct sigaction previous {};
    sigaction(SIGBUS, &guard, &previous);
    int failure;
    if (sigsetjmp(here, 1) == 0) {
        failure = Post(semaphore, count, maximum);
    } else {
        failure = EFAULT;
    }
    sigaction(SIGBUS, &previous, nullptr);
    busErrorReturn = nullptr;
    return failure;
}

}  // namespace

// A named semaphore is mapped by sem_open; an unnamed one lives here.
struct KernelSemaphore::Native {
    Native() : semaphore(&unnamed), named(false) {}
    explicit Native(sem_t* opened) : semaphore(opened), named(true) {}

    sem_t unnamed{};
    sem_t* semaphore;
    bool named;
};

KernelSemaphore::KernelSemaphore(Native* native, std::uint32_t maximumCount)
    : native_(native), maximumCount_(maximumCount) {}

std::unique_ptr<KernelSemaphore> KernelSemaphore::CreateUnnamed(std::uint32_t initialCount,
                                                                std::uint32_t maximumCount) {
    if (initialCount > maximumCount) {
        return nullptr;
    }
    auto* native = new Native();
    if (sem_init(native->semaphore, 0, initialCount) != 0) {
        delete native;
        return nullptr;
    }
    return std::unique_ptr<KernelSemaphore>(new KernelSemaphore(native, maximumCount));
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
            return std::unique_ptr<KernelSemaphore>(
                new KernelSemaphore(new Native(semaphore), maximumCount));
        }
        if (errno != EEXIST) {
            return nullptr;
        }
        semaphore = OpenChecked(posixName);
        if (semaphore != SEM_FAILED) {
            return std::unique_ptr<KernelSemaphore>(
                new KernelSemaphore(new Native(semaphore), maximumCount));
        }
        if (errno != ENOENT) {
            return nullptr;
        }
    }
    return nullptr;
}

std::unique_ptr<KernelSemaphore> KernelSemaphore::OpenNamed(const std::string& kernelName,
                                                            std::uint32_t maximumCount,
                                                            int& error) {
    const std::string posixName = PosixObjectName(kernelName);
    if (posixName.empty()) {
        error = EINVAL;
        return nullptr;
    }
    sem_t* semaphore = OpenChecked(posixName);
    if (semaphore == SEM_FAILED) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::unique_ptr<KernelSemaphore>(
        new KernelSemaphore(new Native(semaphore), maximumCount));
}

KernelSemaphore::~KernelSemaphore() {
    if (native_->named) {
        sem_close(native_->semaphore);
    } else {
        sem_destroy(native_->semaphore);
    }
    delete native_;
}

WaitResult KernelSemaphore::Wait(std::uint32_t milliseconds) {
    int rc;
    if (milliseconds == kInfiniteWait) {
        while ((rc = sem_wait(native_->semaphore)) != 0 && errno == EINTR) {
        }
    } else if (milliseconds == 0) {
        rc = sem_trywait(native_->semaphore);
    } else {
        const timespec deadline = WaitDeadline(milliseconds);
        while ((rc = sem_clockwait(native_->semaphore, kWaitClock, &deadline)) != 0 &&
               errno == EINTR) {
        }
        if (rc == 0) {
            NoteSemaphoreTaken(native_->semaphore);
        }
    }
    if (rc == 0) {
        return WaitResult::Signaled;
    }
    return (errno == EAGAIN || errno == ETIMEDOUT) ? WaitResult::TimedOut : WaitResult::Failed;
}

bool KernelSemaphore::Release(std::uint32_t count) {
    std::lock_guard<std::mutex> hold(releaseLock);
    const int failure = native_->named ? PostGuarded(native_->semaphore, count, maximumCount_)
                                       : Post(native_->semaphore, count, maximumCount_);
    errno = failure;
    return failure == 0;
}

}  // namespace PLATFORM
