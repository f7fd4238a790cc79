#include "platform/RunFiles.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace PLATFORM {

namespace {

// A run makes a handful of files at a time; a stopped one must find them all.
constexpr int kSlots = 16;

// The handler reads a path only once it is whole: a slot is listed only after
// its path was written, and freed before it is written again.
struct Slot {
    std::atomic<bool> listed{false};
    char path[PATH_MAX];
};

Slot slots[kSlots];

// The thread that changes the list, which alone runs the handler's work.
std::atomic<pid_t> listThread{0};

const int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

extern "C" void RemoveAndStop(int signal) {
    // A signal sent to the process goes to any thread that does not hold it
    // back, so also to another one while the list's thread makes a file:
    // handed on to the list's thread, it waits there until the file is
    // listed.
    if (::gettid() != listThread.load()) {
        ::tgkill(::getpid(), listThread.load(), signal);
        return;
    }
    for (Slot& slot : slots) {
        if (slot.listed.load()) {
            ::unlink(slot.path);
        }
    }
    // The signal is held back while its handler runs: raised again, it ends
    // the process by its default action as soon as the handler returns.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}

}  // namespace

void RemoveRunFilesWhenStopped() {
    listThread.store(::gettid());
    struct sigaction handler {};
    handler.sa_handler = RemoveAndStop;
    handler.sa_mask = StopSignals();
    for (const int signal : kStopSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            ::sigaction(signal, &handler, nullptr);
        }
    }
}

StopSignalsHeld::StopSignalsHeld() {
    const sigset_t stops = StopSignals();
    ::pthread_sigmask(SIG_BLOCK, &stops, &previous_);
}

StopSignalsHeld::~StopSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

bool AddRunFile(const std::string& nativePath) {
    if (nativePath.size() >= PATH_MAX) {
        return false;
    }
    for (Slot& slot : slots) {
        if (slot.listed.load() && nativePath == slot.path) {
            return true;
        }
    }
    for (Slot& slot : slots) {
        if (!slot.listed.load()) {
            std::memcpy(slot.path, nativePath.c_str(), nativePath.size() + 1);
            slot.listed.store(true);
            return true;
        }
    }
    return false;
}

void DropRunFile(const std::string& nativePath) {
    for (Slot& slot : slots) {
        if (slot.listed.load() && nativePath == slot.path) {
            slot.listed.store(false);
        }
    }
}

void HandOverRunFiles() {
    for (Slot& slot : slots) {
        slot.listed.store(false);
    }
}

}  // namespace PLATFORM
