#include "relaytally/QXRecording.h"

#include "Poco/MongoDB/Document.h"
#include "Poco/Types.h"

#include "dbaccess/FieldLoading.h"
#include "dbaccess/ResultCode.h"

namespace DBACCESS {

QXRecording::QXRecording(int recordingNumber)
    : MongoDBBase("recording"),
      description("description", 0),
      number("number", 0, 0, 0),
      name("name", 0),
      type("type", 0, 0, 0) {
    Clear();
    std::string error;
    Read(recordingNumber, error);
}

QXRecording::~QXRecording() = default;

void QXRecording::Clear() {
    ResetFields(number, name, description, type);
    files.clear();
}

bool QXRecording::OnArray(const std::string& arrayName, Poco::MongoDB::Array::Ptr array) {
    if (arrayName != "files" || array.isNull()) return true;
    const int count = static_cast<int>(array->size());
    for (int i = 0; i < count; ++i) {
        const Poco::MongoDB::Document::Ptr element =
            array->get<Poco::MongoDB::Document::Ptr>(i, Poco::MongoDB::Document::Ptr());
        if (element.isNull()) continue;
        RecordingFile file;
        file.ParseSubDocument(element, std::string());
        files.emplace(file.language.value, file);
    }
    return true;
}

bool QXRecording::SetField(const std::string& fieldName, const std::string& text) {
    if (fieldName == "_id") {
        id_ = text;
        return false;
    }
    if (fieldName == number.name) {
        number.FromString(text);
        number.readOnly = true;
        return false;
    }
    return !AssignNamedField(fieldName, text, name, description, type);
}

int QXRecording::Read(int recordingNumber, std::string& errorText) {
    errorText.clear();
    if (!Connect()) return kNoConnection;
    // Cleared only once the reply has come: a read that breaks off leaves
    // the record as it was.
    ReadOne("number", static_cast<Poco::Int32>(recordingNumber), [this] {
        Clear();
        id_.clear();
    });
    number.readOnly = true;
    return id_.empty() ? kNotFound : 0;
}

const std::string& QXRecording::Id() const { return id_; }

}  // namespace DBACCESS
