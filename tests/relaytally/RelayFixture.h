// Fixture of the delivery report tests: a fresh test server state per test,
// database time texts relative to now, and the requests the server saw.

#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbaccess/DatabaseName.h"
#include "support/TestHotel.h"
#include "support/TestServer.h"

using TESTSUPPORT::DbTimeAgo;

class RelayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        DBACCESS::DatabaseName = "kelden";
        Server().Reset();
    }

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }

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
