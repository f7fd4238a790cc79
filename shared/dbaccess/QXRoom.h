#pragma once

#include <string>

#include "Poco/MongoDB/Array.h"
#include "Poco/MongoDB/Document.h"

#include "dbaccess/MongoDBBase.h"
#include "dbaccess/SubDocument.h"
#include "runtime/BaseArrayVar.h"
#include "runtime/BaseStrVar.h"
#include "runtime/StrModifier.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// The "room" sub-document of a mailbox: the guest room the mailbox serves.
// Its fields get their names and limits from Clear, which the owning
// mailbox calls before every read. Elements it does not declare are kept
// in UndeclaredFields(), and so is the undeclared content of earlier reads:
// Clear empties only the declared fields.
class QXRoom : public MongoDBBase {
public:
    QXRoom();
    ~QXRoom() override;

    void Clear() override;
    // "groupid" loads into its set; other arrays go on to the reader.
    bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) override;
    // "roominfo" and "guestinfo" are kept whole; others go on to the reader.
    bool OnDocument(const std::string& name, Poco::MongoDB::Document::Ptr document) override;
    // Loads the scalar field of that name; any other name is left to the
    // reader.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::ValueVar<bool> occupied;
    CORVANE::ValueVar<int> status;
    CORVANE::ValueVar<int> textcount;
    CORVANE::ValueVar<bool> vip;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> restrict;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> roomid;  // the room number shown in reports
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> checkedindate;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> checkedoutdate;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> arrivaldate;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> departuredate;
    CORVANE::BaseArrayVar<CORVANE::StrModifier> groupid;
    SubDocument roominfo;
    SubDocument guestinfo;
};

}  // namespace DBACCESS
