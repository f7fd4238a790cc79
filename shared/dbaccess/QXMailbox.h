#pragma once

#include <cstdint>
#include <string>

#include "Poco/MongoDB/Array.h"
#include "Poco/MongoDB/Document.h"

#include "dbaccess/MongoDBBase.h"
#include "dbaccess/QXAddressIndex.h"
#include "dbaccess/QXItemIndex.h"
#include "dbaccess/QXName.h"
#include "dbaccess/QXRoom.h"
#include "dbaccess/QXTemplateIndex.h"
#include "dbaccess/SubDocument.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One voice-mail box: the document of collection "mailbox" whose "_id" is
// the mailbox number. The record is read-only: nothing writes a mailbox.
//
// "number" is loaded from "_id" only, and "number" and "type" turn read-only
// once a read has queried the database, found or not. Stored values that a
// field's limits refuse leave its default.
class QXMailbox : public MongoDBBase {
public:
    static constexpr std::uint32_t kAddressListMaximum = 30;
    static constexpr std::uint32_t kTemplateListMaximum = 20;

    // Reads the mailbox at once. The outcome stays in the record: "number"
    // is not empty when the mailbox was found, otherwise LastError() says
    // why ("No number specified", "Unable to connect", "Mailbox not found"
    // or the database library's text). What Read raises passes on.
    explicit QXMailbox(const std::string& mailboxNumber);
    QXMailbox(const QXMailbox&) = delete;
    QXMailbox& operator=(const QXMailbox&) = delete;
    ~QXMailbox() override;

    // Every field back to its default and every list emptied. The base's id,
    // error text and undeclared fields stay.
    void Clear() override;
    // The thirteen entry lists load their arrays; any other array is dropped.
    bool OnArray(const std::string& element, Poco::MongoDB::Array::Ptr array) override;
    // "name", "room" and "custominfo" load into their members; any other
    // sub-document goes on to the reader.
    bool OnDocument(const std::string& element, Poco::MongoDB::Document::Ptr document) override;
    // "_id" loads "number"; a stored element "number" is left to the reader.
    bool SetField(const std::string& element, const std::string& text) override;

    // 0 found; 3 empty number; -50 no connection; -47 no mailbox of that
    // number, or a mailbox that arrived whole but cannot be taken apart (a
    // document nested too deep, a value the library cannot take: then the
    // record is cleared and the text is in errorText). The number is sent as
    // given, unfiltered. A refusal, a time-out, a connection cut off or a
    // malformed reply is the database's failure, not the mailbox's: its
    // DatabaseException passes on, the record cleared.
    int Read(const std::string& mailboxNumber, std::string& errorText);

    QXAddressIndex email;
    QXAddressIndex extension;
    QXAddressIndex mwi;
    QXAddressIndex mailbox;
    QXAddressIndex pager;
    QXAddressIndex phone;
    QXTemplateIndex evt;
    QXTemplateIndex msg;
    QXTemplateIndex ntf;
    QXTemplateIndex crp;
    CORVANE::ValueVar<bool> adminaccess;
    CORVANE::ValueVar<int> assignHow;
    CORVANE::ValueVar<int> blockingGreeting;
    CORVANE::ValueVar<int> busyGreeting;
    CORVANE::ValueVar<bool> callblocking;
    CORVANE::ValueVar<bool> callscreening;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> cosname;  // lower-cased
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> created;
    SubDocument custominfo;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> description;
    CORVANE::ValueVar<bool> directory;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> expiry;
    CORVANE::ValueVar<bool> faxPrinting;
    QXItemIndex folders;
    CORVANE::ValueVar<int> language;
    CORVANE::ValueVar<bool> langSelected;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> lastAssigned;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> updated;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> lastlogin;
    QXItemIndex lists;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> profileid;
    CORVANE::ValueVar<bool> locked;
    CORVANE::ValueVar<int> msgSpeed;   // -5 to 5
    CORVANE::ValueVar<int> msgVolume;  // -5 to 5
    CORVANE::ValueVar<bool> manageMailbox;
    CORVANE::ValueVar<bool> manageMessages;
    CORVANE::ValueVar<int> mwiLine;  // 0 to 2000
    QXName name;
    CORVANE::ValueVar<int> nameRecording;
    CORVANE::ValueVar<bool> notifyAccess;
    CORVANE::ValueVar<int> notifyAddress;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> number;  // at most 20 digits
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> password;
    QXItemIndex prompts;
    CORVANE::ValueVar<int> promptSpeed;   // -5 to 5
    CORVANE::ValueVar<int> promptVolume;  // -5 to 5
    CORVANE::ValueVar<int> rnaGreeting;
    QXRoom room;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> script;   // lower-cased
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sdafile;  // lower-cased
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> sponsor;
    CORVANE::ValueVar<bool> systemmailbox;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> tenantid;
    CORVANE::ValueVar<bool> sendgroupmsgs;
    CORVANE::ValueVar<int> timezone;
    CORVANE::ValueVar<bool> tutorial;
    CORVANE::ValueVar<int> type;

private:
    // Clears the record after a read that failed on e, traces it and
    // returns its text.
    std::string Unreadable(const Poco::Exception& e);
};

}  // namespace DBACCESS
