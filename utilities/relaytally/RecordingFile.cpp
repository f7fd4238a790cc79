#include "relaytally/RecordingFile.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

RecordingFile::RecordingFile()
    : language("language", 101, 0, 0),
      format("format", 0, 0, 0),
      ttstext("ttstext", 0),
      ttsvoice("ttsvoice", 0) {
    Clear();
}

RecordingFile::~RecordingFile() = default;

void RecordingFile::Clear() { ResetFields(format, language, ttstext, ttsvoice); }

bool RecordingFile::SetField(const std::string& name, const std::string& text) {
    AssignNamedField(name, text, language, format, ttstext, ttsvoice);
    return false;
}

}  // namespace DBACCESS
