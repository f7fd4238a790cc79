#pragma once

#include <map>
#include <set>
#include <string>

#include "Poco/MongoDB/Array.h"

#include "dbaccess/MongoDBBase.h"
#include "relaytally/MDSActivity.h"
#include "relaytally/MDSRecipient.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One scheduled message delivery: a document of the collection
// "mdsactivity" with the message (voice file, text or stored recording),
// its schedule, the mailboxes it goes to and the log of what happened to it
// at each of them. Read-only: nothing here writes to the database.
class MDSActivityDB : public MongoDBBase {
public:
    // The collection of the deliveries.
    static const char* const kCollectionName;  // "mdsactivity"

    MDSActivityDB();
    // Reads the delivery of that id; GetId() tells whether it was found.
    explicit MDSActivityDB(const std::string& id);
    ~MDSActivityDB() override;

    // Every field back to its default, the entries, recipients and
    // addresses emptied. The id text and the base's undeclared fields stay.
    void Clear() override;
    // Takes every array: "activity", "recipients" and "emaillist" load
    // their elements, any other array is dropped.
    bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) override;
    // "_id" and the declared fields are taken (false); any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // Reads the delivery whose "_id" is the string id (an ObjectId "_id" is
    // not matched): 0 found, -47 not found, -50 an empty id (nothing sent)
    // or no connection. A library exception on the way (a connection lost
    // mid-reply) passes to the caller.
    int Read(const std::string& id);

    // The "_id" of the delivery read; empty when none was.
    std::string GetId() const;

    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> accountingid;
    CORVANE::ValueVar<int> calloptions;
    CORVANE::ValueVar<bool> confirm;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> contactnumber;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> creator;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> created;
    CORVANE::ValueVar<bool> delafterpost;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> deliver;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> description;
    CORVANE::ValueVar<int> daysbeforecheckout;  // 0 to 3
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> emailsent;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> expiration;
    CORVANE::ValueVar<int> language;
    CORVANE::BaseStrVar<CORVANE::FilepathStrModifier> filepath;
    CORVANE::ValueVar<bool> operator_;                      // field "operator"
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> recid;  // number of a stored recording
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> text;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> textvoice;
    CORVANE::ValueVar<int> type;  // the message type
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> timestamp;
    CORVANE::ValueVar<bool> urgent;

    // Log entries by their "timestamp" text; equal texts in array order.
    // Entries without a timestamp are not kept.
    std::multimap<std::string, MDSActivity> activities;
    // Recipients by their mailbox text; equal texts in array order.
    std::multimap<std::string, MDSRecipient> recipients;
    std::set<std::string> emailaddresses;

private:
    void LoadActivities(const Poco::MongoDB::Array& array);
    void LoadRecipients(const Poco::MongoDB::Array& array);
    void LoadEmailList(const Poco::MongoDB::Array& array);

    std::string id_;
};

}  // namespace DBACCESS
