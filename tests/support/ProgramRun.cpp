#include "support/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

#include "support/OwnNamespaces.h"

extern char** environ;

namespace TESTSUPPORT {

namespace {

class Pipe {
public:
    Pipe() {
        if (pipe2(fds_, O_CLOEXEC) != 0) {
            throw std::runtime_error(std::string("RunProgram: pipe failed: ") +
                                     std::strerror(errno));
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    int fds_[2] = {-1, -1};
};

std::vector<std::string> BuildEnvironment(const ProgramOptions& options) {
    auto dropped = [&](const std::string& name) {
        return options.environment.count(name) != 0 ||
               std::find(options.unset.begin(), options.unset.end(), name) != options.unset.end();
    };
    std::vector<std::string> env;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string text(*entry);
        if (!dropped(text.substr(0, text.find('=')))) {
            env.push_back(text);
        }
    }
    for (const auto& [name, value] : options.environment) {
        if (std::find(options.unset.begin(), options.unset.end(), name) == options.unset.end()) {
            env.push_back(name + "=" + value);
        }
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Only async-signal-safe calls between fork and exec: the test process may
// run other threads (the database server's reader, for one).
[[noreturn]] void RunChild(const std::string& path, char** argv, char** envp,
                           const ProgramOptions& options, const IdMaps& ids, Pipe& in, Pipe& out,
                           Pipe& err, Pipe& status) {
    const std::string& workDir = options.workDir;
    if (options.stopSignal != 0) {
        // Whatever the test process was started with (a shell's background
        // job ignores SIGINT), the child gets the signal as a job started
        // by a scheduler does.
        struct sigaction byDefault {};
        byDefault.sa_handler = SIG_DFL;
        sigaction(options.stopSignal, &byDefault, nullptr);
        sigset_t stop;
        sigemptyset(&stop);
        sigaddset(&stop, options.stopSignal);
        sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    }
    if ((options.ownNetwork && !EnterOwnNamespaces(ids, false)) ||
        dup2(in.Read(), STDIN_FILENO) < 0 || dup2(out.Write(), STDOUT_FILENO) < 0 ||
        dup2(err.Write(), STDERR_FILENO) < 0 || (!workDir.empty() && chdir(workDir.c_str()) != 0)) {
        int code = errno;
        (void)!write(status.Write(), &code, sizeof code);
        _exit(127);
    }
    execve(path.c_str(), argv, envp);
    int code = errno;
    (void)!write(status.Write(), &code, sizeof code);
    _exit(127);
}

}  // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                         const ProgramOptions& options) {
    std::vector<std::string> argTexts{path};
    argTexts.insert(argTexts.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argTexts);
    std::vector<std::string> envTexts = BuildEnvironment(options);
    std::vector<char*> envp = Pointers(envTexts);

    const IdMaps ids;
    Pipe in, out, err, status;
    pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error(std::string("RunProgram: fork failed: ") + std::strerror(errno));
    }
    if (pid == 0) {
        RunChild(path, argv.data(), envp.data(), options, ids, in, out, err, status);
    }
    in.CloseRead();
    out.CloseWrite();
    err.CloseWrite();
    status.CloseWrite();

    int startError = 0;
    ssize_t got;
    do {
        got = read(status.Read(), &startError, sizeof startError);
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof startError)) {
        waitpid(pid, nullptr, 0);
        throw std::runtime_error("RunProgram: cannot start " + path + ": " +
                                 std::strerror(startError));
    }

    // A child that exits without reading its input must not kill us.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);

    ProgramResult result;
    std::size_t written = 0;
    if (options.input.empty()) {
        in.CloseWrite();
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    bool outOpen = true, errOpen = true;
    bool stopSent = false;
    while (outOpen || errOpen) {
        pollfd fds[3];
        nfds_t count = 0;
        int outIndex = -1, errIndex = -1, inIndex = -1;
        if (outOpen) {
            outIndex = static_cast<int>(count);
            fds[count++] = {out.Read(), POLLIN, 0};
        }
        if (errOpen) {
            errIndex = static_cast<int>(count);
            fds[count++] = {err.Read(), POLLIN, 0};
        }
        if (in.Write() >= 0) {
            inIndex = static_cast<int>(count);
            fds[count++] = {in.Write(), POLLOUT, 0};
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        const bool stopPending = options.stopSignal != 0 && !stopSent;
        int ready =
            poll(fds, count,
                 static_cast<int>(std::min<long long>(left.count(), stopPending ? 10 : 1000)));
        if (stopPending && options.stopWhen()) {
            kill(pid, options.stopSignal);
            stopSent = true;
        }
        if (ready < 0 && errno != EINTR) {
            kill(pid, SIGKILL);
            break;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[65536];
        auto drain = [&](int index, int fd, std::string& into, bool& open) {
            if (index < 0 || fds[index].revents == 0) {
                return;
            }
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                into.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                open = false;
            }
        };
        drain(outIndex, out.Read(), result.out, outOpen);
        drain(errIndex, err.Read(), result.err, errOpen);
        if (inIndex >= 0 && fds[inIndex].revents != 0) {
            ssize_t n =
                write(in.Write(), options.input.data() + written, options.input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if ((n < 0 && errno != EINTR && errno != EAGAIN) || written == options.input.size()) {
                in.CloseWrite();
            }
        }
    }
    in.CloseWrite();
    sigaction(SIGPIPE, &previous, nullptr);

    // The streams may close before the process ends; the deadline still holds.
    int wstatus = 0;
    for (;;) {
        pid_t done = waitpid(pid, &wstatus, result.timedOut ? 0 : WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            break;
        }
        if (done == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                kill(pid, SIGKILL);
                result.timedOut = true;
            } else {
                usleep(10000);
            }
        }
    }
    if (WIFEXITED(wstatus)) {
        result.exitCode = WEXITSTATUS(wstatus);
    } else if (WIFSIGNALED(wstatus)) {
        result.signal = WTERMSIG(wstatus);
    }
    return result;
}

}  // namespace TESTSUPPORT
