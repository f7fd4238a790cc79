#pragma once

#include <string>
#include <string_view>

#include "platform/WritableFile.h"

// A report or mail-body file being written, in binary, so every line ends
// in a single line feed. Nothing a failed run began stays behind: unless Keep
// was called, the destructor removes what this object created, and until
// then it is listed as a file of the run, which a stopped run removes
// (platform/RunFiles.h).
class ReportFile {
public:
    enum class Kind {
        // A path the user gave. The new contents are written to a file of
        // their own beside it and put in place by Keep, so that the file at
        // the path (an earlier report) stays as it is until the new one is
        // complete. A symbolic link is written through: its target is
        // replaced and the link stays a link. A device or a FIFO
        // ("/dev/stdout") is written directly; a FIFO that no process reads
        // is not waited for but fails to open.
        kReplace,
        // A name the program made in the shared temp folder, where anyone
        // may have put a file or link under it first: created, mode 0600,
        // only when nothing exists under the name (NameTaken tells that).
        kCreateNew,
        // A temp file the program made for itself (MakeTempFileName):
        // opened without following a link, emptied, mode 0600 when created.
        kTemp,
    };

    // The path is spelled as the system spells it; it is translated to the
    // native form just before it is opened.
    ReportFile(const std::string& path, Kind kind);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    bool IsOpen() const { return file_.IsOpen(); }

    // kCreateNew only: whether the file could not be made because something
    // exists under the name.
    bool NameTaken() const { return nameTaken_; }

    // Why the file could not be opened, written or put in place; empty
    // while all is well.
    const std::string& Error() const { return error_; }

    // Appends the line and a line feed.
    void WriteLine(std::string_view line);

    // Writes what is pending and closes the file. False when the file was
    // never open or a write failed (Error tells why). A kReplace file is not
    // yet at its path.
    bool Close();

    // After a Close that succeeded: the file stays. A kReplace file is put in
    // place of the one at its path. False when that fails (Error tells why).
    bool Keep();

private:
    void Flush();
    void Fail(const std::string& what);

    PLATFORM::WritableFile file_;  // a kReplace file removes its replacement itself unless kept
    bool nameTaken_ = false;
    bool closed_ = false;
    bool kept_ = false;
    std::string created_;  // kCreateNew, kTemp: the file opened, removed unless kept
    std::string pending_;
    std::string error_;
};
