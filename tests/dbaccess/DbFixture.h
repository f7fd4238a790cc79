// Fixture of the database access tests: a fresh test server state per test
// and helpers to look at the requests the server saw and at the pool.

#pragma once

#include <cctype>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ProbeRecord.h"
#include "dbaccess/ConnectionPool.h"
#include "dbaccess/DatabaseName.h"
#include "support/TestServer.h"

class DbFixture : public ::testing::Test {
protected:
    void SetUp() override {
        DBACCESS::DatabaseName = "kelden";
        Server().Reset();
    }

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }

    // The requests since Reset whose operation is op ("query", "getmore", ...).
    static std::vector<std::string> RequestsOf(const std::string& op) {
        std::vector<std::string> found;
        for (const std::string& request : Server().Requests())
            if (request.find("\"op\": \"" + op + "\"") != std::string::npos)
                found.push_back(request);
        return found;
    }

    // A request as logged, less the server's number of the connection it came on.
    static std::string WithoutConnection(std::string request) {
        const std::string field = ", \"connection\": ";
        const std::size_t start = request.find(field);
        if (start == std::string::npos) return request;
        std::size_t end = start + field.size();
        while (end < request.size() && std::isdigit(static_cast<unsigned char>(request[end])))
            ++end;
        return request.erase(start, end - start);
    }

    static std::size_t IdleConnections() {
        const DBACCESS::ConnectionObjectPool& pool = DBACCESS::ConnectionPool;
        return pool.available() - (pool.peakCapacity() - pool.size());
    }

    // Records holding every idle pooled connection, so that the next borrow
    // has to connect.
    static std::vector<std::unique_ptr<ProbeRecord>> HoldIdleConnections() {
        std::vector<std::unique_ptr<ProbeRecord>> holders;
        for (std::size_t idle = IdleConnections(); idle > 0; --idle) {
            holders.push_back(std::make_unique<ProbeRecord>());
            EXPECT_TRUE(holders.back()->Connect());
        }
        return holders;
    }

    // The server notices a closed connection a moment later.
    static bool Eventually(const std::function<bool()>& condition) {
        for (int i = 0; i < 200; ++i) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return condition();
    }
};
