#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/LocalClock.h"
#include "platform/WritableFile.h"

// One trace log on disk: <data folder>\TRACELOGS\<log name>.ltt, opened for
// appending and shared with every other process that writes the same log
// name, with a marker line when it is opened and when it is closed. When its
// rollover flag is set it rolls over on a new day (the content goes to a
// copy stamped with the time the log was opened, and every copy moves to
// TRACELOGS\ARCHIVE) and at 50,000,000 bytes (the same copy; only the four
// newest files of the log are kept). Only the log's own files take part:
// those of other logs whose names begin with this one (HOSTEL10 for HOSTEL1)
// are left alone. Rollovers are serialised across processes by the
// machine-wide mutex named after the log, and a writer that waited there
// while another rolled the log does not roll it again. Only the writer
// thread of its process uses a log.
class LogFile {
public:
    static constexpr std::int32_t kCommitInterval = 100;     // writes per disk commit
    static constexpr std::int64_t kRolloverSize = 50000000;  // bytes
    static constexpr std::size_t kKeptFiles = 4;             // the log and its newest copies

    // Closed, rollover flag false; opened by the first WriteLine.
    LogFile(const std::string& logName, std::uint32_t logId);

    // Takes the name, identity, rollover flag and commit count; the copy
    // starts closed, with no path, opened now.
    LogFile(const LogFile& other);
    LogFile& operator=(const LogFile&) = delete;

    // Close.
    virtual ~LogFile();

    // Closes an open file, then opens or creates the log's file and writes the
    // opening line. A log without a name, or a file that cannot be opened,
    // stays closed.
    void Open();

    // Writes the closing line and closes; does nothing when closed.
    void Close();

    // Appends text, opening the file first when it is closed; dropped when it
    // cannot be opened. A failed write closes the file, and the next write
    // opens it again.
    void WriteLine(const std::string& text);

    // The writer calls one of these every turn: DayRollover on the first turn
    // of a new day, SizeRollover on the others. Both first open the log again
    // when its file was removed or replaced while open. A rollover whose copy
    // of the log cannot be made keeps the log's content and tries again at the
    // next size check.
    void DayRollover();
    void SizeRollover();

    const std::string& LogName() const { return logName_; }
    std::uint32_t LogId() const { return logId_; }
    const std::string& Path() const { return path_; }  // empty until the first open
    bool IsOpen() const { return file_.IsOpen(); }
    std::int32_t WritesUntilCommit() const { return writesUntilCommit_; }
    const PLATFORM::CalendarTime& Opened() const { return opened_; }
    bool Rollover() const { return rollover_; }
    void SetRollover(bool on) { rollover_ = on; }

    // <log name>-<opened as YYYYMMDDHHMMSSmmm, the year unpadded>.ltt
    static std::string RolledFileName(const std::string& logName,
                                      const PLATFORM::CalendarTime& opened);

private:
    // The marker line of the calling thread with a time and the fixed words.
    std::string MarkerLine(const PLATFORM::CalendarTime& time, const char* words) const;

    // Writes bytes and counts them towards the next commit; false on failure.
    bool WriteCounted(const std::string& bytes);

    // Opens the log again when the file at its path is no longer the open one.
    void ReopenWhenMoved();

    std::int64_t FileSize() const;

    // Copies the log to its rolled file and empties it; false, with the log
    // left as it is, when the copy fails or the log cannot be emptied.
    bool MakeRolledCopy();

    std::int32_t writesUntilCommit_ = kCommitInterval;
    PLATFORM::WritableFile file_;
    std::string logName_;
    std::string path_;
    bool rollover_ = false;
    std::uint32_t logId_;
    PLATFORM::CalendarTime opened_;
};
