#include "relaytally/FindDeliveryActivityIds.h"

#include <string_view>
#include <utility>

#include "dbaccess/MongoDBSearch.h"
#include "relaytally/MDSActivityDB.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace {

// A delivery read only to learn that it can be read, which its "_id" alone
// answers: its other fields, log, recipients and addresses are dropped
// unread, and the rows' read of it loads them again.
class DeliveryCheck : public DBACCESS::MDSActivityDB {
public:
    bool SetField(const std::string& name, const std::string& text) override {
        return name == std::string_view("_id") ? MDSActivityDB::SetField(name, text) : false;
    }
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

    // Only the ids are kept of the hits, by time stamp, each as stored: a
    // trimmed one would not read the delivery back.
    std::vector<std::pair<std::string, std::string>> stored;
    {
        DBACCESS::MongoDBSearch search(DBACCESS::MDSActivityDB::kCollectionName);
        search.FindRangeEach("timestamp", from, upper, {"_id", "timestamp"},
                             [&stored](const std::string& key, DBACCESS::DocumentFields& hit) {
                                 const auto id = hit.find("_id");
                                 if (id != hit.end())
                                     stored.emplace_back(key, id->second.value.value);
                             });
    }
    DBACCESS::SortByKey(stored);

    std::vector<std::string> ids;
    // One record for every check: each read starts by clearing it.
    DeliveryCheck record;
    for (auto& [key, idText] : stored) {
        if (record.Read(idText) == 0) {
            ids.push_back(std::move(idText));
        }
    }
    return ids;
}
