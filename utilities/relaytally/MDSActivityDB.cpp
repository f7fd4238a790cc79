#include "relaytally/MDSActivityDB.h"

#include <string>
#include <string_view>
#include <utility>

#include "Poco/MongoDB/Document.h"

#include "dbaccess/FieldLoading.h"
#include "dbaccess/ResultCode.h"

namespace DBACCESS {

namespace {

// Element i of an array of sub-documents; null when it is not one.
Poco::MongoDB::Document::Ptr ElementDocument(const Poco::MongoDB::Array& array, int i) {
    return array.get<Poco::MongoDB::Document::Ptr>(i, Poco::MongoDB::Document::Ptr());
}

}  // namespace

const char* const MDSActivityDB::kCollectionName = "mdsactivity";

MDSActivityDB::MDSActivityDB()
    : MongoDBBase(kCollectionName),
      accountingid("accountingid", 0),
      calloptions("calloptions", 0, 0, 0),
      confirm("confirm", false, false),
      contactnumber("contactnumber", 0),
      creator("creator", 0),
      created("created", 0),
      delafterpost("delafterpost", false, false),
      deliver("deliver", 0),
      description("description", 0),
      daysbeforecheckout("daysbeforecheckout", 0, 3, 0),
      emailsent("emailsent", 0),
      expiration("expiration", 0),
      language("language", 101, 0, 0),
      filepath("filepath", 0),
      operator_("operator", false, false),
      recid("recid", 0),
      text("text", 0),
      textvoice("textvoice", 0),
      type("type", 0, 0, 0),
      timestamp("timestamp", 0),
      urgent("urgent", false, false) {
    Clear();
}

MDSActivityDB::MDSActivityDB(const std::string& id) : MDSActivityDB() { Read(id); }

MDSActivityDB::~MDSActivityDB() = default;

void MDSActivityDB::Clear() {
    ResetFields(accountingid, calloptions, confirm, contactnumber, creator, created, delafterpost,
                deliver, description, daysbeforecheckout, emailsent, expiration, language, filepath,
                operator_, recid, text, textvoice, type, timestamp, urgent);
    activities.clear();
    recipients.clear();
    emailaddresses.clear();
}

bool MDSActivityDB::SetField(const std::string& name, const std::string& value) {
    if (name == std::string_view("_id")) {
        id_ = value;
        return false;
    }
    return !AssignNamedField(name, value, accountingid, calloptions, confirm, created,
                             contactnumber, creator, deliver, delafterpost, daysbeforecheckout,
                             description, emailsent, expiration, filepath, language, operator_,
                             recid, text, textvoice, type, timestamp, urgent);
}

bool MDSActivityDB::OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) {
    if (array.isNull()) return false;
    if (name == "activity")
        LoadActivities(*array);
    else if (name == "recipients")
        LoadRecipients(*array);
    else if (name == "emaillist")
        LoadEmailList(*array);
    return false;
}

void MDSActivityDB::LoadActivities(const Poco::MongoDB::Array& array) {
    const int count = static_cast<int>(array.size());
    for (int i = 0; i < count; ++i) {
        Poco::MongoDB::Document::Ptr element = ElementDocument(array, i);
        if (element.isNull()) continue;
        MDSActivity entry;
        entry.ParseSubDocument(element, std::string());
        const std::string key = entry.timestamp.value;
        if (!key.empty()) activities.emplace(key, std::move(entry));
    }
}

void MDSActivityDB::LoadRecipients(const Poco::MongoDB::Array& array) {
    const int count = static_cast<int>(array.size());
    for (int i = 0; i < count; ++i) {
        Poco::MongoDB::Document::Ptr element = ElementDocument(array, i);
        if (element.isNull() || !element->isType<Poco::Int32>("activity") ||
            !element->isType<std::string>("mailbox") || !element->isType<std::string>("name") ||
            !element->isType<std::string>("room"))
            continue;
        bool completed = false;
        if (element->exists("completed")) {
            if (!element->isType<bool>("completed")) continue;
            completed = element->get<bool>("completed");
        }
        MDSRecipient recipient(
            element->get<Poco::Int32>("activity"), element->get<std::string>("mailbox"),
            element->get<std::string>("room"), element->get<std::string>("name"), completed);
        std::string key = recipient.mailbox.value;
        recipients.emplace(std::move(key), std::move(recipient));
    }
}

void MDSActivityDB::LoadEmailList(const Poco::MongoDB::Array& array) {
    const int count = static_cast<int>(array.size());
    for (int i = 0; i < count; ++i) {
        Poco::MongoDB::Document::Ptr element = ElementDocument(array, i);
        if (element.isNull() || !element->isType<std::string>("emailaddress")) continue;
        const std::string address = element->get<std::string>("emailaddress");
        if (!address.empty()) emailaddresses.insert(address);
    }
}

int MDSActivityDB::Read(const std::string& id) {
    MutableLastError().clear();
    Clear();
    id_.clear();
    if (id.empty() || !Connect()) return kNoConnection;
    ReadOne("_id", id);
    return id_.empty() ? kNotFound : 0;
}

std::string MDSActivityDB::GetId() const { return id_; }

}  // namespace DBACCESS
