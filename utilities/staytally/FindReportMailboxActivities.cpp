#include "staytally/FindReportMailboxActivities.h"

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
        DBACCESS::ReportMailboxActivityDB record;
        std::string error;
        if (record.Read(idText, error) == 0) {
            result.emplace(idText, record);
        }
    }
    return result;
}
