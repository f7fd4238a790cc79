#include "staytally/FindReportMailboxActivities.h"

#include <tuple>
#include <utility>
#include <vector>

#include "dbaccess/MongoDBSearch.h"

ReportMailboxActivities FindReportMailboxActivities(const std::string& from, const std::string& to,
                                                    const std::string& collection,
                                                    std::pmr::memory_resource* memory) {
    // Only the ids are kept of the hits, by time stamp: a window's hits
    // together would take more memory than its records.
    std::vector<std::pair<std::string, std::string>> ids;
    {
        DBACCESS::MongoDBSearch search(collection);
        search.FindRangeEach("timestamp", from, to, {"_id", "timestamp"},
                             [&ids](const std::string& key, DBACCESS::DocumentFields& hit) {
                                 const auto id = hit.find("_id");
                                 if (id != hit.end()) ids.emplace_back(key, id->second.value.Get());
                             });
    }
    DBACCESS::SortByKey(ids);
    ReportMailboxActivities result(memory);
    for (const auto& [key, idText] : ids) {
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
