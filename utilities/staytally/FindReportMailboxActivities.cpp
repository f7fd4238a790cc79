#include "staytally/FindReportMailboxActivities.h"

#include <tuple>
#include <utility>

#include "dbaccess/MongoDBSearch.h"

ReportMailboxActivities FindReportMailboxActivities(const std::string& from, const std::string& to,
                                                    const std::string& collection) {
    ReportMailboxActivities result;
    DBACCESS::SearchHits hits;
    {
        DBACCESS::MongoDBSearch search(collection);
        hits = search.FindRange("timestamp", from, to, {"_id", "timestamp"});
    }
    for (const auto& hit : hits) {
        const auto id = hit.second.find("_id");
        if (id == hit.second.end()) {
            continue;
        }
        const std::string idText = id->second.value.Get();
        // Read where it is kept: a record is too large to be copied there.
        const auto entry = result.emplace(std::piecewise_construct, std::forward_as_tuple(idText),
                                          std::forward_as_tuple());
        std::string error;
        if (entry->second.Read(idText, error) != 0) {
            result.erase(entry);
        }
    }
    return result;
}
