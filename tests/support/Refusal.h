// What a database call raises, told apart: the refusal the server's words
// became, any other library exception, or nothing; and the check that a
// read raises a refusal of its query while an empty collection reads as
// not found.

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Poco/Exception.h"
#include <gtest/gtest.h>

#include "dbaccess/DatabaseException.h"
#include "support/TestServer.h"

namespace TESTSUPPORT {

// The refusal a call raises: display text and code; "none" when it raises
// nothing, "other: " and the display text of any other exception.
struct Refusal {
    std::string text;
    int code = 0;
};

inline Refusal Refused(const std::function<void()>& call) {
    try {
        call();
    } catch (const DBACCESS::DatabaseRefusedException& e) {
        return {e.displayText(), e.code()};
    } catch (const Poco::Exception& e) {
        return {"other: " + e.displayText(), e.code()};
    }
    return {"none", 0};
}

// A read of one record (or list) from a collection; read is true when it
// found what it looked for.
struct RecordRead {
    const char* what;
    const char* collection;
    std::function<bool()> read;
};

// Each read finds nothing in its empty collection without raising, and
// raises the server's refusal of its query.
inline void ExpectRefusedReads(const std::vector<RecordRead>& reads) {
    for (const RecordRead& r : reads) {
        SCOPED_TRACE(r.what);
        bool found = true;
        EXPECT_EQ(Refused([&] { found = r.read(); }).text, "none");
        EXPECT_FALSE(found);
        TestServer::Get().FailNextQuery(r.collection, "not master", 10107);
        EXPECT_EQ(Refused([&] { r.read(); }).text, "Refused by the database: kelden." +
                                                       std::string(r.collection) +
                                                       ": not master (code 10107)");
    }
}

}  // namespace TESTSUPPORT
