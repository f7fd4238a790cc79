#include "runtime/File.h"

#include "runtime/CaseConversion.h"

namespace QXUTIL {

namespace {

std::string AsciiUpper(const std::string& text) {
    return CORVANE::ConvertCase(text, CORVANE::kCaseConversionUpper);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "\\" + name;
}

}  // namespace

File::File(const PLATFORM::FindRecord& record, const std::string& folder)
    : kind_((record.attributes & PLATFORM::kFileAttributeDirectory) ? kKindDirectory : kKindFile),
      upperName_(AsciiUpper(record.name)),
      upperPath_(AsciiUpper(JoinPath(folder, record.name))),
      path_(JoinPath(folder, record.name)),
      name_(record.name),
      creationTime_(record.creationTime),
      accessTime_(record.accessTime),
      writeTime_(record.writeTime),
      size_(record.size) {}

}  // namespace QXUTIL
