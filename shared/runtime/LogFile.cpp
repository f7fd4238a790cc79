#include "runtime/LogFile.h"

#include <cstdio>

#include "platform/FileCopy.h"
#include "platform/NativePath.h"
#include "platform/ProcessIds.h"
#include "runtime/FindFiles.h"
#include "runtime/GetDataPath.h"
#include "runtime/MutexAutoLock.h"
#include "runtime/SharedConstants.h"
#include "runtime/TraceText.h"

namespace {

const char kArchiveFolder[] = "\\ARCHIVE";
constexpr std::uint32_t kMarkerLevel = 0xFFFFFFFF;
constexpr std::size_t kStampDigits = 17;  // YYYYMMDDHHMMSSmmm

PLATFORM::CalendarTime LocalNow() {
    PLATFORM::CalendarTime now;
    PLATFORM::ReadLocalClock(now);
    return now;
}

// The files of one log among those its find pattern lists: the pattern
// "<log name>*.ltt" also lists other logs whose names begin with this one
// (HOSTEL10.ltt for HOSTEL1) and, matching letters in any case, logs whose
// names differ from it in case only (caselog.ltt for CASELOG), and a
// rollover must not move or delete another writer's files. Kept are the
// log itself and its rolled copies, named exactly as this log names them.
class OwnLogFiles : public QXUTIL::FindFiles {
public:
    explicit OwnLogFiles(const std::string& logName) : logName_(logName) {}

    bool OnFile(const QXUTIL::File& file) override {
        // The name is the log name and the extension, byte for byte (checked
        // again: a log name may hold wildcard characters); what lies between
        // them tells whose file it is.
        const std::string& name = file.Name();
        if (name.size() < logName_.size() + kTraceFileExtension.size() ||
            name.compare(0, logName_.size(), logName_) != 0 ||
            name.compare(name.size() - kTraceFileExtension.size(), kTraceFileExtension.size(),
                         kTraceFileExtension) != 0) {
            return false;
        }
        const std::string middle = name.substr(
            logName_.size(), name.size() - logName_.size() - kTraceFileExtension.size());
        if (!middle.empty() && !IsStamp(middle)) {
            return false;
        }
        return FindFiles::OnFile(file);
    }

private:
    // "-" and the digits of an opened time.
    static bool IsStamp(const std::string& text) {
        if (text.size() < 1 + kStampDigits || text[0] != '-') {
            return false;
        }
        return text.find_first_not_of("0123456789", 1) == std::string::npos;
    }

    std::string logName_;
};

}  // namespace

LogFile::LogFile(const std::string& logName, std::uint32_t logId)
    : logName_(logName), logId_(logId), opened_(LocalNow()) {}

LogFile::LogFile(const LogFile& other)
    : writesUntilCommit_(other.writesUntilCommit_),
      logName_(other.logName_),
      rollover_(other.rollover_),
      logId_(other.logId_),
      opened_(LocalNow()) {}

LogFile::~LogFile() { Close(); }

std::string LogFile::RolledFileName(const std::string& logName,
                                    const PLATFORM::CalendarTime& opened) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "-%d%02d%02d%02d%02d%02d%03d", opened.year, opened.month,
                  opened.day, opened.hour, opened.minute, opened.second, opened.milliseconds);
    return logName + stamp + kTraceFileExtension;
}

std::string LogFile::MarkerLine(const PLATFORM::CalendarTime& time, const char* words) const {
    return FormatTraceLine(logName_, PLATFORM::CurrentProcessId(), PLATFORM::CurrentThreadId(),
                           FormatTraceTime(time), kMarkerLevel, words);
}

void LogFile::Open() {
    Close();
    opened_ = LocalNow();
    if (logName_.empty()) {
        return;
    }
    GetDataPath(path_, kTraceFolderName, "\\" + logName_ + kTraceFileExtension);
    if (file_.Open(PLATFORM::NativePath(path_),
                   PLATFORM::WritableFile::kCreate | PLATFORM::WritableFile::kAppend, 0666)) {
        WriteLine(MarkerLine(opened_, "File opened"));
    }
}

void LogFile::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    WriteCounted(MarkerLine(LocalNow(), "File closed"));
    file_.Close();
}

bool LogFile::WriteCounted(const std::string& bytes) {
    if (!file_.Append(bytes)) {
        return false;
    }
    if (--writesUntilCommit_ < 1) {
        file_.Sync();
        writesUntilCommit_ = kCommitInterval;
    }
    return true;
}

void LogFile::WriteLine(const std::string& text) {
    if (!file_.IsOpen()) {
        Open();
        if (!file_.IsOpen()) {
            return;
        }
    }
    if (!WriteCounted(text)) {
        Close();
    }
}

std::int64_t LogFile::FileSize() const {
    const std::int64_t size = file_.Size();
    return size < 0 ? 0 : size;
}

void LogFile::ReopenWhenMoved() {
    if (!file_.IsOpen() || path_.empty()) {
        return;
    }
    if (file_.Size() >= 0 && !file_.IsAt(PLATFORM::NativePath(path_))) {
        // Whatever the open file still reaches is no longer the log.
        file_.Close();
        Open();
    }
}

bool LogFile::MakeRolledCopy() {
    std::string rolled;
    GetDataPath(rolled, kTraceFolderName, "\\" + RolledFileName(logName_, opened_));
    PLATFORM::RemoveFile(PLATFORM::NativePath(rolled));
    file_.Sync();
    return PLATFORM::CopyFile(path_, rolled, false) && file_.Truncate();
}

void LogFile::DayRollover() {
    ReopenWhenMoved();
    if (!file_.IsOpen() || path_.empty() || !rollover_) {
        return;
    }
    SEMAPHORE::MutexAutoLock lock(logName_, "");
    if (!MakeRolledCopy()) {
        return;
    }
    std::string folder;
    GetDataPath(folder, kTraceFolderName);
    OwnLogFiles files(logName_);
    files.Find(folder, logName_ + "*" + kTraceFileExtension);
    std::string archive;
    GetDataPath(archive, kTraceFolderName, kArchiveFolder);
    PLATFORM::CreateFolder(PLATFORM::NativePath(archive), 0777);  // an existing folder is fine
    for (const auto& entry : files.SortByTime()) {
        const QXUTIL::File& file = entry.second;
        if (file.Path() == path_) {
            continue;
        }
        std::string target;
        GetDataPath(target, kTraceFolderName, kArchiveFolder, "\\" + file.Name());
        if (PLATFORM::CopyFile(file.Path(), target, false)) {
            PLATFORM::RemoveFile(PLATFORM::NativePath(file.Path()));
        }
    }
    file_.Close();
    Open();
}

void LogFile::SizeRollover() {
    ReopenWhenMoved();
    if (!file_.IsOpen() || path_.empty() || !rollover_ || FileSize() < kRolloverSize) {
        return;
    }
    SEMAPHORE::MutexAutoLock lock(logName_, "");
    // Another writer of this log may have rolled it while this one waited.
    if (FileSize() < kRolloverSize || !MakeRolledCopy()) {
        return;
    }
    std::string folder;
    GetDataPath(folder, kTraceFolderName);
    OwnLogFiles files(logName_);
    files.Find(folder, logName_ + "*" + kTraceFileExtension);
    const auto byTime = files.SortByTime();  // oldest first
    std::size_t listed = byTime.size();
    for (auto entry = byTime.begin(); entry != byTime.end() && listed > kKeptFiles; ++entry) {
        // The log counts among the kept files but is never deleted: it is open.
        if (entry->second.Path() == path_) {
            continue;
        }
        PLATFORM::RemoveFile(PLATFORM::NativePath(entry->second.Path()));
        --listed;
    }
    file_.Close();
    Open();
}
