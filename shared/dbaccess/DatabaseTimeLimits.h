#pragma once

#include <string>

#include "Poco/Timespan.h"

namespace DBACCESS {

// How long a connect may wait to be accepted. The server is local: a live
// one accepts at once, so the wait only ends a stuck one.
constexpr int kDatabaseConnectSeconds = 10;
// How long the server may think before the first byte of its reply: a scan
// of a large activity collection can take minutes over its first batch.
constexpr int kDatabaseReplyBeginSeconds = 300;
// How long a reply may take from its first byte to its last, so that a
// server that trickles its reply ends the run instead of keeping it alive.
constexpr int kDatabaseReplySeconds = 30;
// How long a request may take to be sent.
constexpr int kDatabaseSendSeconds = 30;

// The waits of one connection; default-constructed, the product's.
struct DatabaseTimeLimits {
    Poco::Timespan connect{kDatabaseConnectSeconds, 0};
    Poco::Timespan replyBegin{kDatabaseReplyBeginSeconds, 0};
    Poco::Timespan reply{kDatabaseReplySeconds, 0};
    Poco::Timespan send{kDatabaseSendSeconds, 0};
};

// A limit as messages give it: "300 s", "1.5 s".
std::string LimitText(const Poco::Timespan& limit);

}  // namespace DBACCESS
