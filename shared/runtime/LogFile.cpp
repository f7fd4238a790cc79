#include "runtime/LogFile.h"

LogFile::LogFile(const std::string& logName, std::uint32_t logId)
    : logName_(logName), logId_(logId) {}

LogFile::LogFile(const LogFile& other) : logName_(other.logName_), logId_(other.logId_) {}

LogFile::~LogFile() = default;

void LogFile::Open() {}

void LogFile::Close() {}

void LogFile::WriteLine(const std::string&) {}

void LogFile::DayRollover() {}

void LogFile::SizeRollover() {}
