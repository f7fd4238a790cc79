#include "relaytally/FindDeliveryActivityIds.h"

#include "dbaccess/MongoDBSearch.h"
#include "relaytally/MDSActivityDB.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace {

// A delivery read only to learn that it can be read: its log, recipients and
// addresses are dropped unread, which the rows' read of it loads again.
class DeliveryCheck : public DBACCESS::MDSActivityDB {
public:
    bool OnArray(const std::string& /*name*/, Poco::MongoDB::Array::Ptr /*array*/) override {
        return false;
    }
};

}  // namespace

std::vector<std::string> FindDeliveryActivityIds(const std::string& to, const std::string& from) {
    std::string upper = to;
    if (upper.empty()) {
        DateTime now;
        now.value = GetLocalFileTime();
        upper = FormatDateTime(now, "%Y%m%d%H%M%S%s");
    }

    DBACCESS::SearchHits hits;
    {
        DBACCESS::MongoDBSearch search(DBACCESS::MDSActivityDB::kCollectionName);
        hits = search.FindRange("timestamp", from, upper, {"_id", "timestamp"});
    }

    std::vector<std::string> ids;
    // One record for every check: each read starts by clearing it.
    DeliveryCheck record;
    for (const auto& hit : hits) {
        const auto id = hit.second.find("_id");
        if (id == hit.second.end()) {
            continue;
        }
        // Read back by the id as stored: a trimmed one would miss it.
        const std::string& idText = id->second.value.value;
        if (record.Read(idText) == 0) {
            ids.push_back(idText);
        }
    }
    return ids;
}
