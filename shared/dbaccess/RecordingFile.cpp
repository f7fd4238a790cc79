#include "dbaccess/RecordingFile.h"

#include "dbaccess/FieldLoading.h"

namespace DBACCESS {

RecordingFile::RecordingFile()
{
    Clear();
}

RecordingFile::~RecordingFile() = default;

void RecordingFile::Clear()
{
    format = CORVANE::ValueVar<int>("format", 0, 0, 0);
    language = CORVANE::ValueVar<int>("language", 101, 0, 0);
    ttstext = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("ttstext", 0);
    ttsvoice = CORVANE::BaseStrVar<CORVANE::PrintableStrModifier>("ttsvoice", 0);
}

bool RecordingFile::SetField(const std::string& name, const std::string& text)
{
    AssignNamedField(name, text, language, format, ttstext, ttsvoice);
    return false;
}

}  // namespace DBACCESS
