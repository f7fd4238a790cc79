#pragma once

#include <sys/types.h>

#include <functional>

namespace TESTSUPPORT {

// A forked copy of the test process that runs one function and ends with
// _exit (no static destructor runs in it). Parent and child pass single-byte
// signals to each other to take turns.
class ForkedChild {
public:
    // Forks; the child runs body and exits with its result.
    explicit ForkedChild(const std::function<int(ForkedChild&)>& body);
    // Kills a child that is still running.
    ~ForkedChild();

    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    // Sends a signal byte to the other side.
    void Tell();
    // Waits for a signal byte from the other side; false after timeoutMs or
    // when the other side has gone.
    bool Await(int timeoutMs = 10000);
    // Parent: waits for the child's end; its exit code, or -1 when it did not
    // exit normally.
    int Join();
    // After Join: the signal that ended the child, 0 when it exited.
    int EndSignal() const { return endSignal_; }

private:
    pid_t pid_ = -1;
    bool inChild_ = false;
    int endSignal_ = 0;
    int toChild_[2] = {-1, -1};
    int toParent_[2] = {-1, -1};
};

}  // namespace TESTSUPPORT
