#pragma once

#include <string>

namespace TESTSUPPORT {

// Counts the opens of one existing file from construction on, by anyone,
// through inotify. An open is queued before the call that made it returns,
// so Opens() sees every open this process made before asking.
class FileOpenCounter {
public:
    explicit FileOpenCounter(const std::string& path);
    ~FileOpenCounter();
    FileOpenCounter(const FileOpenCounter&) = delete;
    FileOpenCounter& operator=(const FileOpenCounter&) = delete;

    int Opens();

private:
    int fd_ = -1;
    int opens_ = 0;
};

}  // namespace TESTSUPPORT
