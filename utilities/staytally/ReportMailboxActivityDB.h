#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One event in the life of a guest mailbox, as the product's services log
// it in "reportmbactivity": what happened (activity), how (method), with
// what outcome (result), when (timestamp, a 17-digit local time text).
class ReportMailboxActivityDB : public MongoDBBase {
public:
    ReportMailboxActivityDB();
    ReportMailboxActivityDB(const ReportMailboxActivityDB& other);
    ReportMailboxActivityDB& operator=(const ReportMailboxActivityDB& other);
    ~ReportMailboxActivityDB() override;

    // Every field back to its default and the time stamp to now; the id
    // emptied. The base's error and undeclared fields stay as they are.
    void Clear() override;
    // "_id" and the fields are taken (false), through the fields' filters
    // and limits; any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // Reads the record of an ObjectId text: 0 read, -47 not found (also for
    // a text that is no ObjectId), -50 empty id or no connection.
    // errorText is emptied. A library exception (a connection lost in the
    // middle of the read) passes on.
    int Read(const std::string& id, std::string& errorText);

    CORVANE::ValueVar<int> activity;
    CORVANE::ValueVar<int> line;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> mailbox;
    CORVANE::ValueVar<int> method;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> number;
    CORVANE::ValueVar<int> result;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> timestamp;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> detail;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> msgtofrom;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> msgcreatedby;
    CORVANE::BaseStrVar<CORVANE::FilenameStrModifier> msgfile;
    CORVANE::BaseStrVar<CORVANE::FilenameStrModifier> msgenvelope;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> uniqueid;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> expiration;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> username;
    std::string id;  // the ObjectId as 24 lowercase hexadecimal digits
};

}  // namespace DBACCESS
