#include "dbaccess/SiteInfo.h"

#include "Poco/MongoDB/Cursor.h"
#include "dbaccess/DatabaseName.h"
#include "dbaccess/FieldLoading.h"
#include "dbaccess/LogDBError.h"
#include "dbaccess/ReplyRefusal.h"

namespace DBACCESS {

namespace {

constexpr std::size_t kFieldLength = 60;

}  // namespace

SiteInfo::SiteInfo() : MongoDBBase("config") { Clear(); }

SiteInfo::~SiteInfo() = default;

void SiteInfo::Clear() {
    id = "siteinfo";
    using Text = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>;
    sitename = Text("sitename", kFieldLength);
    sitephone = Text("sitephone", kFieldLength);
    siteaddress1 = Text("siteaddress1", kFieldLength);
    siteaddress2 = Text("siteaddress2", kFieldLength);
    sitecity = Text("sitecity", kFieldLength);
    sitecountry = Text("sitecountry", kFieldLength);
    sitestate = Text("sitestate", kFieldLength);
    siteszip = Text("siteszip", kFieldLength);
    dealername = Text("dealername", kFieldLength);
    dealerphone = Text("dealerphone", kFieldLength);
}

bool SiteInfo::SetField(const std::string& name, const std::string& text) {
    if (name == "_id") {
        id = text;
        return false;
    }
    return !LoadNamedField(name, text, sitename, sitephone, siteaddress1, siteaddress2, sitecity,
                           sitecountry, sitestate, siteszip, dealername, dealerphone);
}

int SiteInfo::Read(std::string& errorText) {
    errorText.clear();
    if (!Connect()) {
        return -50;
    }
    Clear();
    int result = -47;
    try {
        Exchange([this, &result](Poco::MongoDB::Connection& connection) {
            Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
            cursor.query().selector().add("_id", std::string("siteinfo"));
            cursor.query().setNumberToReturn(1);
            const auto& documents = NextBatch(cursor, connection).documents();
            ParseDocuments(documents);
            if (!documents.empty()) {
                result = 0;
            }
        });
    } catch (const Poco::Exception& e) {
        errorText = e.displayText();
        LogDBError("DBACCESS::SiteInfo::Read", 142, errorText);
        result = -47;
    }
    return result;
}

}  // namespace DBACCESS
