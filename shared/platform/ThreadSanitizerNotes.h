#pragma once

// ThreadSanitizer intercepts the realtime timed waits (pthread_mutex_timedlock,
// sem_timedwait) but not their clock-choosing forms, so it would not see what
// a monotonic wait took and would report the lock's later release, and every
// access the lock guards, as faults. These notes tell it; in other builds
// they are empty.

#if defined(__SANITIZE_THREAD__)
#define QX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QX_THREAD_SANITIZER 1
#endif
#endif

#ifdef QX_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace PLATFORM {

// Around a timed lock of a mutex that ThreadSanitizer knows from its
// pthread_mutex_init.
inline void NoteTimedLockBegin([[maybe_unused]] void* mutex) {
#ifdef QX_THREAD_SANITIZER
    __tsan_mutex_pre_lock(mutex, __tsan_mutex_try_lock);
#endif
}

inline void NoteTimedLockEnd([[maybe_unused]] void* mutex, [[maybe_unused]] bool acquired) {
#ifdef QX_THREAD_SANITIZER
    __tsan_mutex_post_lock(
        mutex, __tsan_mutex_try_lock | (acquired ? 0 : __tsan_mutex_try_lock_failed), 0);
#endif
}

// After a timed wait took a count of a semaphore: what was done before the
// sem_post that gave it is visible now.
inline void NoteSemaphoreTaken([[maybe_unused]] void* semaphore) {
#ifdef QX_THREAD_SANITIZER
    __tsan_acquire(semaphore);
#endif
}

}  // namespace PLATFORM
