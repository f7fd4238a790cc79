#include "platform/KernelMutex.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/KernelObjectName.h"
#include "platform/ThreadSanitizerNotes.h"

namespace PLATFORM {

// The mutex and who holds it. The owner's thread id is kept beside the
// pthread mutex so that a thread can tell whether it holds the mutex without
// unlocking it on trial. Thread ids are unique machine-wide, so the field
// means the same in every process that maps a named mutex.
// Each change of owner numbers the new tenure, so that a handle can tell
// its count of holds from one left over by an earlier tenure.
struct KernelMutex::Shared {
    std::atomic<std::uint32_t> ready;  // kReadyMark once a named mutex is set up
    std::atomic<pid_t> owner;          // 0 when free
    std::uint32_t depth;               // holds of the owner; changed by the owner only
    std::uint64_t ownership;           // number of the owner's tenure; changed by the owner only
    pthread_mutex_t mutex;
};

namespace {

constexpr std::uint32_t kReadyMark = 0x514D5459u;  // changes with the layout of Shared

// Byte ranges of a named mutex's shared-memory object, locked with
// open-file-description locks (released by the kernel when a process dies):
// the guard serialises opening and closing; every open handle holds a read
// lock on the holder byte, so a closer that can write-lock it is the last.
constexpr off_t kGuardByte = 0;
constexpr off_t kHolderByte = 1;

bool LockByte(int fd, off_t byte, short type, bool wait) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    int rc;
    while ((rc = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock)) != 0 && errno == EINTR) {
    }
    return rc == 0;
}

pid_t CallingThread() { return gettid(); }

bool InitialiseMutex(pthread_mutex_t* mutex, bool processShared) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) {
        return false;
    }
    const bool set =
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
        pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
        pthread_mutexattr_setpshared(
            &attributes, processShared ? PTHREAD_PROCESS_SHARED : PTHREAD_PROCESS_PRIVATE) == 0;
    const bool made = set && pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    return made;
}

// Removes the object's name when no handle holds it (fd's own read lock on
// the holder byte is replaced, not counted). The caller holds the guard.
void RemoveWhenUnused(int fd, const std::string& posixName) {
    if (LockByte(fd, kHolderByte, F_WRLCK, false)) {
        shm_unlink(posixName.c_str());
    }
}

}  // namespace

std::unique_ptr<KernelMutex> KernelMutex::CreateUnnamed() {
    auto* shared = new Shared;
    shared->ready.store(0, std::memory_order_relaxed);
    shared->owner.store(0, std::memory_order_relaxed);
    shared->depth = 0;
    shared->ownership = 0;
    if (!InitialiseMutex(&shared->mutex, false)) {
        delete shared;
        return nullptr;
    }
    std::unique_ptr<KernelMutex> handle(new KernelMutex);
    handle->shared_ = shared;
    return handle;
}

std::unique_ptr<KernelMutex> KernelMutex::OpenNamed(const std::string& kernelName, bool createOnly,
                                                    OpenStatus& status) {
    status = OpenStatus::Failed;
    const std::string posixName = PosixMutexObjectName(kernelName);
    if (posixName.empty()) {
        return nullptr;
    }
    for (;;) {
        const int fd = shm_open(posixName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            status = errno == EACCES ? OpenStatus::AccessDenied : OpenStatus::Failed;
            return nullptr;
        }
        struct stat info {};
        if (!LockByte(fd, kGuardByte, F_WRLCK, true) || fstat(fd, &info) != 0) {
            close(fd);
            return nullptr;
        }
        if (info.st_nlink == 0) {
            // The last holder removed it while this open waited: start again.
            close(fd);
            continue;
        }
        const bool sized = info.st_size >= static_cast<off_t>(sizeof(Shared));
        if (!sized && ftruncate(fd, sizeof(Shared)) != 0) {
            RemoveWhenUnused(fd, posixName);
            close(fd);
            return nullptr;
        }
        void* mapping = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (mapping == MAP_FAILED) {
            RemoveWhenUnused(fd, posixName);
            close(fd);
            return nullptr;
        }
        auto* shared = static_cast<Shared*>(mapping);
        // Set-up runs under the guard. A mutex that no open handle holds any
        // more (every process that had one died without closing it) is gone,
        // as a kernel object goes with its last handle, and one without its
        // mark was left half-made by a process that died: both are made again.
        const bool held = !LockByte(fd, kHolderByte, F_WRLCK, false);
        const bool existing =
            held && sized && shared->ready.load(std::memory_order_acquire) == kReadyMark;
        if (existing && createOnly) {
            munmap(mapping, sizeof(Shared));
            close(fd);
            status = OpenStatus::AlreadyExists;
            return nullptr;
        }
        if (!existing) {
            shared->ready.store(0, std::memory_order_relaxed);
            shared->owner.store(0, std::memory_order_relaxed);
            shared->depth = 0;
            shared->ownership = 0;
            if (!InitialiseMutex(&shared->mutex, true)) {
                munmap(mapping, sizeof(Shared));
                RemoveWhenUnused(fd, posixName);
                close(fd);
                return nullptr;
            }
            shared->ready.store(kReadyMark, std::memory_order_release);
            fchmod(fd, 0666);
        }
        LockByte(fd, kHolderByte, F_RDLCK,
                 true);  // in place of the test's write lock, if it got one
        LockByte(fd, kGuardByte, F_UNLCK, false);
        std::unique_ptr<KernelMutex> handle(new KernelMutex);
        handle->shared_ = shared;
        handle->fd_ = fd;
        handle->posixName_ = posixName;
        status = existing ? OpenStatus::Opened : OpenStatus::Created;
        return handle;
    }
}

KernelMutex::~KernelMutex() {
    // The tenure and this handle's count are read only by the owner.
    while (shared_->owner.load(std::memory_order_relaxed) == CallingThread() &&
           holdsOwnership_ == shared_->ownership && holds_ > 0) {
        Release();
    }
    if (fd_ < 0) {
        pthread_mutex_destroy(&shared_->mutex);
        delete shared_;
        return;
    }
    LockByte(fd_, kGuardByte, F_WRLCK, true);
    RemoveWhenUnused(fd_, posixName_);
    munmap(shared_, sizeof(Shared));
    close(fd_);
}

WaitResult KernelMutex::Wait(std::uint32_t milliseconds) {
    int rc;
    if (milliseconds == kInfiniteWait) {
        rc = pthread_mutex_lock(&shared_->mutex);
    } else {
        // A free or abandoned mutex is taken without a timed wait, which also
        // keeps the common case of an abandoned mutex visible to ThreadSanitizer
        // (its timed-lock hook misses EOWNERDEAD).
        rc = pthread_mutex_trylock(&shared_->mutex);
        if (rc == EBUSY && milliseconds > 0) {
            const timespec deadline = WaitDeadline(milliseconds);
            NoteTimedLockBegin(&shared_->mutex);
            rc = pthread_mutex_clocklock(&shared_->mutex, kWaitClock, &deadline);
            NoteTimedLockEnd(&shared_->mutex, rc == 0 || rc == EOWNERDEAD);
        }
    }
    const pid_t self = CallingThread();
    if (rc == 0) {
        if (shared_->owner.load(std::memory_order_relaxed) == self) {
            ++shared_->depth;
        } else {
            shared_->owner.store(self, std::memory_order_relaxed);
            shared_->depth = 1;
            ++shared_->ownership;
        }
        NoteHold();
        return WaitResult::Signaled;
    }
    if (rc == EOWNERDEAD) {
        pthread_mutex_consistent(&shared_->mutex);
        shared_->owner.store(self, std::memory_order_relaxed);
        shared_->depth = 1;
        ++shared_->ownership;
        NoteHold();
        return WaitResult::Abandoned;
    }
    return (rc == EBUSY || rc == ETIMEDOUT) ? WaitResult::TimedOut : WaitResult::Failed;
}

void KernelMutex::NoteHold() {
    if (holdsOwnership_ != shared_->ownership) {
        holdsOwnership_ = shared_->ownership;
        holds_ = 0;
    }
    ++holds_;
}

bool KernelMutex::Release() {
    if (shared_->owner.load(std::memory_order_relaxed) != CallingThread()) {
        return false;
    }
    if (holds_ > 0 && holdsOwnership_ == shared_->ownership) {
        --holds_;
    }
    if (--shared_->depth == 0) {
        shared_->owner.store(0, std::memory_order_relaxed);
    }
    return pthread_mutex_unlock(&shared_->mutex) == 0;
}

}  // namespace PLATFORM
