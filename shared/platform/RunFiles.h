#pragma once

#include <signal.h>

#include <string>

namespace PLATFORM {

// The files a run has made and not yet handed over (a report being written,
// the file beside an earlier report, a mail body). A run stopped by SIGTERM,
// SIGINT or SIGHUP (a scheduler's time limit, Ctrl-C, a terminal that
// closed) must not leave them behind: the handler removes the files listed
// here and the process then ends by the same signal, so that whoever waits
// for it sees the signal's status. The handler does nothing but unlink
// ready-made paths and re-raise, so that it is safe wherever it interrupts
// the run. The list is changed from one thread at a time.

// Installs the handler for the three signals, for the calling thread, the
// one that changes the list. One the process was started with ignored (as
// nohup starts it with SIGHUP) stays ignored.
void RemoveRunFilesWhenStopped();

// Holds back the three signals in the calling thread while it lives, so that
// a file made under it is listed before a stop can end the run.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Lists a file the run has just made (call it under StopSignalsHeld); a path
// listed already stays listed once. False when the list is full or the path
// longer than any the system opens: that file would stay after a stop.
bool AddRunFile(const std::string& nativePath);

// Takes a file off the list: it was removed, renamed or kept.
void DropRunFile(const std::string& nativePath);

// Takes every file off the list: they now belong to the one they were handed
// to (the mail task about to be sent) and stay when the run is stopped.
void HandOverRunFiles();

}  // namespace PLATFORM
