#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Poco/MongoDB/Array.h"
#include "Poco/SharedPtr.h"

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// A task for one of the product's services: the fields every task has and
// the write that stores it. Times are 17-digit local time texts.
class TaskDB : public MongoDBBase {
public:
    explicit TaskDB(const std::string& collection);
    ~TaskDB() override;

    // Every field back to its default, the id emptied. The base's id, error
    // and undeclared fields stay as they are.
    void Clear() override;
    // "listdata": its strings are appended to listdata (a non-string
    // element raises the library's exception). Returns true in every case.
    bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) override;
    // "_id" and the fields are taken (false); any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // RealWrite without extra fields.
    virtual int Write(std::string& errorText);

    // Stores the task: inserted when it has no id, else upserted under its
    // id with every field under "$set". An empty "scheduled" becomes
    // "start", or the local time of the write; an empty "created" that
    // time. Extra fields with an empty name are skipped. Returns 0 written,
    // -50 no connection (errorText empty; Access().LastError() tells why),
    // -46 the write failed or was not confirmed: only getLastError's
    // ok: 1 without an error counts as written (errorText: the server's
    // error, its refusal of the check, or the exception, which is traced;
    // also an id that is no ObjectId). sent, when given, is called the
    // moment the request has gone out, before its check: from then on the
    // task may be stored whatever the check says, and a failure's errorText
    // ends in "; the task may have been stored".
    int RealWrite(std::string& errorText, const std::map<std::string, std::string>& extraStrings,
                  const std::map<std::string, Poco::SharedPtr<Poco::MongoDB::Array>>& extraArrays,
                  const std::function<void()>& sent = nullptr);

    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> created;
    CORVANE::ValueVar<int> priority;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> scheduled;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> data;
    std::vector<std::string> listdata;
    CORVANE::ValueVar<int> interval;
    CORVANE::ValueVar<int> maxretries;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> mailbox;
    CORVANE::ValueVar<int> retries;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> taskref;
    CORVANE::ValueVar<int> tasktype;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> start;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> end;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> expire;
    std::string id;

private:
    void AddFields(
        Poco::MongoDB::Document& fields, const std::map<std::string, std::string>& extraStrings,
        const std::map<std::string, Poco::SharedPtr<Poco::MongoDB::Array>>& extraArrays) const;
};

}  // namespace DBACCESS
