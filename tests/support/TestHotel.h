// The small hotel the program tests run their reports against, and the
// texts their fixtures build documents and compare reports with.

#pragma once

#include <string>
#include <vector>

#include "runtime/DateTime.h"

namespace TESTSUPPORT {

class TestServer;

// The local time `seconds` before now (after it, when negative).
DateTime TimeAgo(long seconds);
// The same as a 17-digit database time text.
std::string DbTimeAgo(long seconds);

// A text as a JSON string literal.
std::string Json(const std::string& text);

// Every line of a text, without its line feed.
std::vector<std::string> Lines(const std::string& text);

// A guest mailbox document (type 5 unless told) with a room, a tenant, a
// name and an extension.
std::string MailboxJson(const std::string& number, const std::string& roomid,
                        const std::string& tenantid, int type = 5);

// Seeds the test hotel: tenants 1 "Main" and 2 "Harbour Wing"; guest
// mailboxes 101 (room 101A, tenant 1) and 102 (room 102, tenant 2); a staff
// mailbox 900 of type 1 (tenant 1); the site document.
void SeedTestHotel(TestServer& server);

}  // namespace TESTSUPPORT
