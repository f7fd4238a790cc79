#include "dawntally/FindWakeupLogIds.h"

#include <utility>
#include <vector>

#include "dbaccess/MongoDBSearch.h"

std::map<std::string, std::string> FindWakeupLogIds(const std::string& lower,
                                                    const std::string& upper,
                                                    const std::string& collection) {
    // Only the two texts are kept of each hit, by time stamp, so that where
    // two ids read alike the earlier one is kept, as from the whole hits.
    std::vector<std::pair<std::string, std::pair<std::string, std::string>>> kept;
    {
        DBACCESS::MongoDBSearch search(collection);
        search.FindRangeEach(
            "timestamp", lower, upper, {"_id", "wakeupid"},
            [&kept](const std::string& key, DBACCESS::DocumentFields& hit) {
                const auto id = hit.find("_id");
                const auto wakeupid = hit.find("wakeupid");
                if (id == hit.end() || wakeupid == hit.end()) return;
                kept.emplace_back(
                    key, std::make_pair(id->second.value.Get(), wakeupid->second.value.Get()));
            });
    }
    DBACCESS::SortByKey(kept);
    std::map<std::string, std::string> ids;
    for (auto& entry : kept) ids.emplace(std::move(entry.second));
    return ids;
}
