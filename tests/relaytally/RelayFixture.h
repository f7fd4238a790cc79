// Fixture of the delivery report tests: a fresh test server state per test,
// database time texts relative to now, and the requests the server saw.

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbaccess/DatabaseName.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/TestServer.h"

class RelayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        DBACCESS::DatabaseName = "kelden";
        Server().Reset();
    }

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }

    // The database time text of now minus the given seconds.
    static std::string DbTimeAgo(std::uint32_t seconds) {
        DateTime moment = DateTime::Now();
        moment.Subtract(TimeSpan{seconds, 0});
        return FormatDbTimestamp(moment);
    }

    // The requests since Reset whose operation is op ("query", "getmore", ...)
    // on the collection ns ("kelden.mdsactivity"; empty: any).
    static std::vector<std::string> RequestsOf(const std::string& op, const std::string& ns = "") {
        std::vector<std::string> found;
        for (const std::string& request : Server().Requests()) {
            if (request.find("\"op\": \"" + op + "\"") == std::string::npos) continue;
            if (!ns.empty() && request.find("\"ns\": \"" + ns + "\"") == std::string::npos)
                continue;
            found.push_back(request);
        }
        return found;
    }
};
