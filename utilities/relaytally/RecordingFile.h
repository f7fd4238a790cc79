#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One language version of a stored recording (an element of its "files").
class RecordingFile : public MongoDBBase {
public:
    RecordingFile();
    RecordingFile(const RecordingFile& other) = default;
    RecordingFile& operator=(const RecordingFile& other) = default;
    ~RecordingFile() override;

    // Every field back to its default; the base's id and undeclared fields
    // stay.
    void Clear() override;
    // Assigns the field of that name; every element is taken (false), so a
    // file keeps nothing it does not declare.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::ValueVar<int> language;  // 101 unless the file says otherwise
    CORVANE::ValueVar<int> format;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> ttstext;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> ttsvoice;
};

}  // namespace DBACCESS
