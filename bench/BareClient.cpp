// The floor the report programs are measured against: the queries that one
// run of staytally, relaytally or dawntally sends (without "-email"), in the
// same order, sent by the POCO driver alone over one connection. Of the
// documents it picks out only what the next queries need; it builds no
// records, rows or report and writes nothing.
//
//   bareclient staytally|relaytally|dawntally [hours]
//
// It reads the values the way the sample data of tests/data stores them
// (ids as strings or ObjectIds, numbers as 32-bit integers); bench/common.py
// checks against the test server's request log that it sent what the
// program sent.

#include <sys/time.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Poco/Exception.h"
#include "Poco/MongoDB/Connection.h"
#include "Poco/MongoDB/Cursor.h"
#include "Poco/MongoDB/Document.h"
#include "Poco/MongoDB/ObjectId.h"
#include "Poco/String.h"

namespace {

using Poco::MongoDB::Connection;
using Poco::MongoDB::Cursor;
using Poco::MongoDB::Document;
using Poco::MongoDB::ObjectId;

const char* const kDatabase = "kelden";
const std::vector<std::string> kDirectoryFields = {"_id",
                                                   "callblocking",
                                                   "cosname",
                                                   "created",
                                                   "description",
                                                   "directory",
                                                   "extension.definition",
                                                   "name.first_display",
                                                   "name.last_display",
                                                   "name.title",
                                                   "room.occupied",
                                                   "room.restrict",
                                                   "room.roomid",
                                                   "room.status",
                                                   "room.textcount",
                                                   "room.vip",
                                                   "sdafile",
                                                   "tenantid",
                                                   "type",
                                                   "updated"};
constexpr int kGuestMailboxType = 5;

// The local time, hours back from now, as the 17-digit database time text.
std::string DbTime(int hoursBack) {
    timeval now{};
    gettimeofday(&now, nullptr);
    const std::time_t seconds = now.tv_sec - static_cast<std::time_t>(hoursBack) * 3600;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    std::snprintf(text + length, sizeof text - length, "%03d",
                  static_cast<int>(now.tv_usec / 1000));
    return text;
}

std::string Text(const Document& document, const std::string& name) {
    if (document.isType<std::string>(name)) {
        return document.get<std::string>(name);
    }
    if (document.isType<Poco::Int32>(name)) {
        return std::to_string(document.get<Poco::Int32>(name));
    }
    if (document.isType<ObjectId::Ptr>(name)) {
        return document.get<ObjectId::Ptr>(name)->toString();
    }
    return std::string();
}

void Project(Cursor& cursor, const std::vector<std::string>& fields) {
    for (const std::string& field : fields) {
        cursor.query().returnFieldSelector().add(field, static_cast<Poco::Int32>(1));
    }
}

// Every batch of the cursor, as the programs' searches fetch them.
void Drain(Connection& connection, Cursor& cursor,
           const std::function<void(const Document::Ptr&)>& take) {
    for (;;) {
        Poco::MongoDB::ResponseMessage& reply = cursor.next(connection);
        if (reply.documents().empty()) {
            break;
        }
        for (const Document::Ptr& document : reply.documents()) {
            take(document);
        }
        if (reply.cursorID() == 0) {
            break;
        }
    }
}

// The document whose "_id" is id (one document asked for), or null.
template <typename Id>
Document::Ptr ReadById(Connection& connection, const std::string& collection, const Id& id) {
    Cursor cursor(kDatabase, collection);
    cursor.query().selector().add("_id", id);
    cursor.query().setNumberToReturn(1);
    const auto& found = cursor.next(connection).documents();
    return found.empty() ? Document::Ptr() : found.front();
}

// The numbers of the guest mailboxes; the tenants are fetched after them.
std::set<std::string> LoadDirectoryAndTenants(Connection& connection) {
    std::set<std::string> guests;
    Cursor mailboxes(kDatabase, "mailbox");
    mailboxes.query().selector().addNewDocument("$query");
    Project(mailboxes, kDirectoryFields);
    Drain(connection, mailboxes, [&guests](const Document::Ptr& box) {
        if (box->isType<Poco::Int32>("type") &&
            box->get<Poco::Int32>("type") == kGuestMailboxType) {
            guests.insert(Text(*box, "_id"));
        }
    });
    Cursor tenants(kDatabase, "tenant");
    tenants.query().selector().addNewDocument("$query");
    Project(tenants, {"_id", "name"});
    Drain(connection, tenants, [](const Document::Ptr&) {});
    return guests;
}

// The hits of a "timestamp" range search (no upper bound when upper is
// empty) in the order the programs walk them: by time stamp text, equal
// ones in server order.
std::multimap<std::string, Document::Ptr> FindRange(Connection& connection,
                                                    const std::string& collection,
                                                    const std::vector<std::string>& fields,
                                                    const std::string& lower,
                                                    const std::string& upper) {
    Cursor cursor(kDatabase, collection);
    Document& range = cursor.query().selector().addNewDocument("timestamp");
    range.add("$gte", lower);
    if (!upper.empty()) {
        range.add("$lte", upper);
    }
    Project(cursor, fields);
    std::multimap<std::string, Document::Ptr> hits;
    Drain(connection, cursor, [&hits](const Document::Ptr& document) {
        hits.emplace(Poco::trim(Text(*document, "timestamp")), document);
    });
    return hits;
}

void GuestActivity(Connection& connection, int hours) {
    const std::set<std::string> guests = LoadDirectoryAndTenants(connection);
    const std::string start = DbTime(hours);
    const std::string end = DbTime(0);
    // The activities read, by id text, with their mailbox.
    std::map<std::string, std::string> activities;
    for (const auto& hit :
         FindRange(connection, "reportmbactivity", {"_id", "timestamp"}, start, end)) {
        if (!hit.second->isType<ObjectId::Ptr>("_id")) {
            continue;
        }
        const ObjectId::Ptr id = hit.second->get<ObjectId::Ptr>("_id");
        const Document::Ptr activity = ReadById(connection, "reportmbactivity", id);
        if (!activity.isNull()) {
            activities.emplace(id->toString(), Text(*activity, "mailbox"));
        }
    }
    std::set<std::string> read;
    for (const auto& activity : activities) {
        if (guests.count(activity.second) != 0 && read.insert(activity.second).second) {
            ReadById(connection, "mailbox", activity.second);
        }
    }
}

void MessageDelivery(Connection& connection, int hours) {
    LoadDirectoryAndTenants(connection);
    std::set<Poco::Int32> recordings;
    Cursor numbers(kDatabase, "recording");
    Project(numbers, {"number"});
    Drain(connection, numbers, [&recordings](const Document::Ptr& recording) {
        if (recording->isType<Poco::Int32>("number")) {
            recordings.insert(recording->get<Poco::Int32>("number"));
        }
    });
    for (const Poco::Int32 number : recordings) {
        Cursor cursor(kDatabase, "recording");
        cursor.query().selector().add("number", number);
        cursor.query().setNumberToReturn(1);
        cursor.next(connection);
    }
    const std::string start = DbTime(hours);
    const std::string end = DbTime(0);
    std::vector<std::string> ids;
    for (const auto& hit : FindRange(connection, "mdsactivity", {"_id", "timestamp"}, start, end)) {
        const std::string id = Text(*hit.second, "_id");
        if (!ReadById(connection, "mdsactivity", id).isNull()) {
            ids.push_back(id);
        }
    }
    // Each delivery is read again for its rows.
    for (const std::string& id : ids) {
        ReadById(connection, "mdsactivity", id);
    }
}

void WakeupCalls(Connection& connection, int hours) {
    LoadDirectoryAndTenants(connection);
    std::set<std::string> ids;
    for (const auto& hit :
         FindRange(connection, "wakeuplog", {"_id", "wakeupid", "timestamp"}, DbTime(hours), "")) {
        if (!hit.second->get("wakeupid").isNull() && hit.second->isType<ObjectId::Ptr>("_id")) {
            ids.insert(hit.second->get<ObjectId::Ptr>("_id")->toString());
        }
    }
    for (const std::string& id : ids) {
        ReadById(connection, "wakeuplog", ObjectId::Ptr(new ObjectId(id)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::map<std::string, std::function<void(Connection&, int)>> programs = {
        {"staytally", GuestActivity}, {"relaytally", MessageDelivery}, {"dawntally", WakeupCalls}};
    const auto program = argc >= 2 ? programs.find(argv[1]) : programs.end();
    if (program == programs.end() || argc > 3) {
        std::cerr << "usage: bareclient staytally|relaytally|dawntally [hours]\n";
        return 2;
    }
    const int hours = argc == 3 ? std::atoi(argv[2]) : 24;
    try {
        Connection connection("127.0.0.1", 27017);
        program->second(connection, hours);
    } catch (const Poco::Exception& e) {
        std::cerr << "bareclient: " << e.displayText() << "\n";
        return 1;
    }
    return 0;
}
