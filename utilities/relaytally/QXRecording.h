#pragma once

#include <map>
#include <string>

#include "Poco/MongoDB/Array.h"

#include "dbaccess/MongoDBBase.h"
#include "relaytally/RecordingFile.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// A stored recording of the collection "recording", found by its number,
// with one file per language. Read-only: nothing here writes to the
// database.
class QXRecording : public MongoDBBase {
public:
    // Reads the recording of that number; name.Get() is empty when it
    // could not be read.
    explicit QXRecording(int recordingNumber);
    ~QXRecording() override;

    // Every field back to its default ("number" writable again), the files
    // emptied. The id text and the base's undeclared fields stay.
    void Clear() override;
    // "files" loads its elements; every array then goes on to the reader,
    // which keeps it as text among the undeclared fields.
    bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) override;
    // "_id" and the declared fields are taken (false); any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // Reads the recording whose "number" is recordingNumber as a 32-bit
    // integer (a number stored as text is not matched): 0 found, -47 not
    // found, -50 no connection. errorText is emptied. A library exception
    // on the way passes to the caller.
    int Read(int recordingNumber, std::string& errorText);

    // The "_id" of the recording read; empty when none was.
    const std::string& Id() const;

    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> description;
    CORVANE::ValueVar<int> number;  // read-only outside a read
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> name;
    CORVANE::ValueVar<int> type;

    // Files by language; the first file of a language is kept.
    std::map<int, RecordingFile> files;

private:
    std::string id_;
};

}  // namespace DBACCESS
