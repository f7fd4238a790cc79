#pragma once

#include <cstdint>
#include <string>

// One trace log on disk, named by its log name.
class LogFile {
public:
  // Closed; opened by the first WriteLine.
  LogFile(const std::string& logName, std::uint32_t logId);

  // The copy starts closed.
  LogFile(const LogFile& other);
  LogFile& operator=(const LogFile&) = delete;

  virtual ~LogFile();

  void Open();
  void Close();
  void WriteLine(const std::string& text);
  void DayRollover();
  void SizeRollover();

  const std::string& LogName() const { return logName_; }
  std::uint32_t LogId() const { return logId_; }

private:
  std::string logName_;
  std::uint32_t logId_;
};
