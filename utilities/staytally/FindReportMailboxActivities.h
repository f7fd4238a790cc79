#pragma once

#include <map>
#include <memory_resource>
#include <string>

#include "staytally/ReportMailboxActivityDB.h"

// The activity records by their "_id" text.
using ReportMailboxActivities = std::pmr::multimap<std::string, DBACCESS::ReportMailboxActivityDB>;

// Every activity record whose "timestamp" lies between from and to (17-digit
// time texts, both inclusive) that could be read: one range query for the
// ids, then one read per id. A record gone between the two is left out.
// collection names the searched collection; the records are read from their
// own, "reportmbactivity". The records are kept in memory, which must
// outlive them.
ReportMailboxActivities FindReportMailboxActivities(const std::string& from, const std::string& to,
                                                    const std::string& collection,
                                                    std::pmr::memory_resource* memory);
