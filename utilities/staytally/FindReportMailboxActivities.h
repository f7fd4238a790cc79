#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "runtime/ArenaAllocator.h"
#include "staytally/ReportMailboxActivityDB.h"

// The activity records by their "_id" text. A window holds tens of thousands
// of them, of some kilobytes each: they are kept in an arena of large pages.
using ReportMailboxActivities = std::multimap<
    std::string, DBACCESS::ReportMailboxActivityDB, std::less<std::string>,
    CORVANE::ArenaAllocator<std::pair<const std::string, DBACCESS::ReportMailboxActivityDB>>>;

// Every activity record whose "timestamp" lies between from and to (17-digit
// time texts, both inclusive) that could be read: one range query for the
// ids, then one read per id. A record gone between the two is left out.
// collection names the searched collection; the records are read from their
// own, "reportmbactivity".
ReportMailboxActivities FindReportMailboxActivities(const std::string& from, const std::string& to,
                                                    const std::string& collection);
