#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace TESTSUPPORT {

// What a finished child process left behind.
struct ProgramResult {
    std::string out;        // everything written to standard output
    std::string err;        // everything written to standard error
    int exitCode = -1;      // exit status, or -1 when the process did not exit normally
    int signal = 0;         // the signal that ended it, 0 when it exited
    bool timedOut = false;  // killed because it ran longer than allowed
};

struct ProgramOptions {
    // Added to the inherited environment; an entry replaces a variable of the
    // same name. An entry whose name is listed in `unset` is ignored.
    std::map<std::string, std::string> environment;
    // Names removed from the inherited environment.
    std::vector<std::string> unset;
    // Working folder of the child; empty keeps the caller's.
    std::string workDir;
    // Bytes fed to the child's standard input, which is then closed.
    std::string input;
    // The child is killed (SIGKILL) after this many seconds.
    int timeoutSeconds = 120;
    // The child runs in a network of its own that holds only its loopback
    // (127.0.0.1), so that it may listen on fixed ports whatever runs beside
    // it. Without the privilege for a network namespace it makes a user
    // namespace for it, with its own user and group ids mapped to themselves.
    bool ownNetwork = false;
    // Once `stopWhen` holds (asked every 10 ms while the child runs), the
    // child is sent `stopSignal`, once: a run stopped at a moment the test
    // chooses, as a scheduler stops a job on its time limit.
    int stopSignal = 0;
    std::function<bool()> stopWhen;
};

// Runs `path` with `args` (argv[0] is `path` itself) and waits for it to end,
// collecting both output streams without deadlocking on full pipes.
// Throws std::runtime_error when the process cannot be started at all (also
// when its own network cannot be made).
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                         const ProgramOptions& options = {});

}  // namespace TESTSUPPORT
