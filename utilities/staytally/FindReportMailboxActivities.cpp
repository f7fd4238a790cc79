#include "staytally/FindReportMailboxActivities.h"

#include <tuple>
#include <utility>
#include <vector>

#include "dbaccess/MongoDBSearch.h"

ReportMailboxActivities FindReportMailboxActivities(const std::string& from, const std::string& to,
                                                    const std::string& collection) {
    // The ids alone, in the order of the hits: the hits themselves are let go
    // before the records take their place.
    std::vector<std::string> ids;
    {
        DBACCESS::MongoDBSearch search(collection);
        const DBACCESS::SearchHits hits =
            search.FindRange("timestamp", from, to, {"_id", "timestamp"});
        ids.reserve(hits.size());
        for (const auto& hit : hits) {
            const auto id = hit.second.find("_id");
            if (id != hit.second.end()) ids.push_back(id->second.value.Get());
        }
    }
    ReportMailboxActivities result;
    for (const std::string& idText : ids) {
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
