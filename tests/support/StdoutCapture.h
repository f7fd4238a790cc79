#pragma once

#include <string>

namespace TESTSUPPORT {

// Sends the process's standard output (file descriptor 1, so also what other
// threads print) to a temporary file while it lives.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();

    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Everything captured so far.
    std::string Text() const;

    // Polls until the captured text holds `needle`; false after timeoutMs.
    bool WaitFor(const std::string& needle, int timeoutMs = 5000) const;

private:
    int saved_ = -1;
    std::string path_;
};

}  // namespace TESTSUPPORT
