#include "dawntally/FindWakeupLogIds.h"

#include "dbaccess/MongoDBSearch.h"

std::map<std::string, std::string> FindWakeupLogIds(const std::string& lower,
                                                    const std::string& upper,
                                                    const std::string& collection) {
    DBACCESS::SearchHits hits;
    {
        DBACCESS::MongoDBSearch search(collection);
        hits = search.FindRange("timestamp", lower, upper, {"_id", "wakeupid"});
    }
    std::map<std::string, std::string> ids;
    for (const auto& hit : hits) {
        const auto id = hit.second.find("_id");
        const auto wakeupid = hit.second.find("wakeupid");
        if (id == hit.second.end() || wakeupid == hit.second.end()) {
            continue;
        }
        ids.emplace(id->second.value.Get(), wakeupid->second.value.Get());
    }
    return ids;
}
