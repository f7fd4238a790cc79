#include "support/FileOpenCounter.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <stdexcept>

namespace TESTSUPPORT {

// inotify folds an event into the one queued before it when both are the
// same, so two opens in a row would count once: the closes between them
// are watched too.
FileOpenCounter::FileOpenCounter(const std::string& path)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0 || inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        if (fd_ >= 0) {
            close(fd_);
        }
        throw std::runtime_error("cannot watch " + path);
    }
}

FileOpenCounter::~FileOpenCounter() { close(fd_); }

int FileOpenCounter::Opens() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            return opens_;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) {
                ++opens_;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace TESTSUPPORT
