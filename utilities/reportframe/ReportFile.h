#ifndef REPORTFRAME_REPORTFILE_H
#define REPORTFRAME_REPORTFILE_H

#include <string>

// A report or mail-body file open for writing: created, or truncated when it
// exists, and written in binary, so every line ends in a single line feed.
//
// A file whose name the program made itself in the shared temp folder is
// predictable; it is opened with Links::Refuse, so that a symbolic link
// planted under that name is not followed. A path the user gave is opened as
// given (Links::Follow).
class ReportFile {
public:
    enum class Links { Follow, Refuse };

    // The path is spelled as the system spells it; it is translated to the
    // native form just before it is opened.
    ReportFile(const std::string& path, Links links);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    // Why the file could not be opened or written; empty while all is well.
    const std::string& Error() const { return error_; }

    // Appends the line and a line feed.
    void WriteLine(const std::string& line);

    // Writes what is pending and closes the file. False when the file was
    // never open or a write failed (Error tells why).
    bool Close();

private:
    void Flush();
    void Fail(const std::string& what);

    int fd_ = -1;
    std::string pending_;
    std::string error_;
};

#endif
