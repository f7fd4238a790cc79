#include "support/ForkedChild.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace TESTSUPPORT {

ForkedChild::ForkedChild(const std::function<int(ForkedChild&)>& body) {
    if (pipe(toChild_) != 0 || pipe(toParent_) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        inChild_ = true;
        close(toChild_[1]);
        close(toParent_[0]);
        int code = 99;
        try {
            code = body(*this);
        } catch (...) {
        }
        _exit(code);
    }
    close(toChild_[0]);
    close(toParent_[1]);
}

ForkedChild::~ForkedChild() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Join();
    }
    close(toChild_[1]);
    close(toParent_[0]);
}

void ForkedChild::Tell() {
    const char byte = 1;
    const ssize_t written = write(inChild_ ? toParent_[1] : toChild_[1], &byte, 1);
    (void)written;
}

bool ForkedChild::Await(int timeoutMs) {
    pollfd watch{inChild_ ? toChild_[0] : toParent_[0], POLLIN, 0};
    char byte = 0;
    return poll(&watch, 1, timeoutMs) == 1 && read(watch.fd, &byte, 1) == 1;
}

int ForkedChild::Join() {
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, 0);
    pid_ = -1;
    endSignal_ = ended > 0 && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return (ended > 0 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

}  // namespace TESTSUPPORT
