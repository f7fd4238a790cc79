#include "reportframe/ReportFileNames.h"

#include "platform/NativePath.h"
#include "platform/TempFiles.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace {

const char* const CurrentFolder = ".\\";
const char* const kFallbackTempPattern = "%Y%m%d%I%M%S%s.tmp";

std::string FormatNow(const std::string& pattern) {
    return FormatDateTime(DateTime::Now(), pattern);
}

// The temp folder, or the current folder when there is none.
std::string ReportFolder() {
    std::string folder;
    return PLATFORM::GetTempFolder(folder) ? folder : CurrentFolder;
}

}  // namespace

std::string MakeReportFileName(const std::string& pattern) {
    return ReportFolder() + FormatNow(pattern);
}

std::string NumberedFileName(const std::string& path, int number) {
    const std::size_t name = path.find_last_of("/\\");
    const std::size_t begin = name == std::string::npos ? 0 : name + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= begin) {
        dot = path.size();  // no extension (a leading dot starts no extension)
    }
    return path.substr(0, dot) + "-" + std::to_string(number) + path.substr(dot);
}

std::string MakeTempFileName(const std::string& prefix) {
    std::string path;
    if (PLATFORM::CreateUniqueTempFile(PLATFORM::NativePath(ReportFolder()), prefix, path)) {
        return path;
    }
    return CurrentFolder + FormatNow(kFallbackTempPattern);
}

std::string MailboxCollection() { return "mailbox"; }

std::string TenantCollection() { return "tenant"; }

std::string ReportMailboxActivityCollection() { return "reportmbactivity"; }
