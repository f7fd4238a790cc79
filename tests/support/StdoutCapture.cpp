#include "support/StdoutCapture.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace TESTSUPPORT {

StdoutCapture::StdoutCapture() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/stdout-XXXXXX";
    const int fd = mkstemp(&pattern[0]);
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    path_ = pattern;
    std::fflush(stdout);
    saved_ = dup(1);
    dup2(fd, 1);
    close(fd);
}

StdoutCapture::~StdoutCapture() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
    unlink(path_.c_str());
}

std::string StdoutCapture::Text() const {
    std::fflush(stdout);
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool StdoutCapture::WaitFor(const std::string& needle, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Text().find(needle) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace TESTSUPPORT
