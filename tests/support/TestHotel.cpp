#include "support/TestHotel.h"

#include <sstream>

#include "runtime/TimeText.h"
#include "support/TestServer.h"

namespace TESTSUPPORT {

DateTime TimeAgo(long seconds) {
    DateTime time = DateTime::Now();
    if (seconds >= 0) {
        time.Subtract(TimeSpan{static_cast<std::uint32_t>(seconds), 0});
    } else {
        time.value += static_cast<std::uint64_t>(-seconds) * 10000000u;
    }
    return time;
}

std::string DbTimeAgo(long seconds) { return FormatDbTimestamp(TimeAgo(seconds)); }

std::string Json(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string MailboxJson(const std::string& number, const std::string& roomid,
                        const std::string& tenantid, int type) {
    return "{\"_id\": " + Json(number) + ", \"type\": " + std::to_string(type) +
           ", \"tenantid\": " + Json(tenantid) +
           ", \"cosname\": \"guest\", \"name\": {\"first_display\": \"Ana\", \"last_display\": "
           "\"Costa\"}, \"room\": {\"roomid\": " +
           Json(roomid) +
           ", \"occupied\": true, \"status\": 1}, \"extension\": [{\"definition\": " +
           Json(number) + ", \"pos\": 0}]}";
}

void SeedTestHotel(TestServer& server) {
    server.Seed("tenant",
                "[{\"_id\": \"1\", \"name\": \"Main\"}, "
                "{\"_id\": \"2\", \"name\": \"Harbour Wing\"}]");
    server.Seed("mailbox", "[" + MailboxJson("101", "101A", "1") + ", " +
                               MailboxJson("102", "102", "2") + ", " +
                               MailboxJson("900", "", "1", 1) + "]");
    server.Seed("config",
                "[{\"_id\": \"siteinfo\", \"sitename\": \"Hotel Meridian\", "
                "\"sitecity\": \"Port Ellen\"}]");
}

}  // namespace TESTSUPPORT
