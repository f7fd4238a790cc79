#include "dbaccess/SiteInfo.h"

#include "dbaccess/FieldLoading.h"
#include "dbaccess/LogDBError.h"
#include "dbaccess/ResultCode.h"

namespace DBACCESS {

namespace {

constexpr std::size_t kFieldLength = 60;
// The line the product's trace names for a failed read of the site document.
constexpr int kReadFailedLine = 142;

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
        return kNoConnection;
    }
    Clear();
    int result = kNotFound;
    try {
        if (ReadOne("_id", std::string("siteinfo"))) {
            result = 0;
        }
    } catch (const Poco::Exception& e) {
        errorText = e.displayText();
        LogDBError("DBACCESS::SiteInfo::Read", kReadFailedLine, errorText);
        result = kNotFound;
    }
    return result;
}

}  // namespace DBACCESS
