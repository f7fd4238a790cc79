// Fixture of the test database server's own tests: a fresh server state per
// test and small helpers over the POCO driver.

#pragma once

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <Poco/MongoDB/Database.h>
#include <Poco/MongoDB/QueryRequest.h>
#include <Poco/MongoDB/ResponseMessage.h>
#include <Poco/Net/SocketStream.h>
#include <Poco/Net/StreamSocket.h>
#include <gtest/gtest.h>

#include "support/TestServer.h"

class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override { Server().Reset(); }

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }

    static Poco::MongoDB::Connection::Ptr Connect() {
        return new Poco::MongoDB::Connection(TESTSUPPORT::TestServer::kHost,
                                             TESTSUPPORT::TestServer::kPort);
    }

    // Seeds documents {"_id": i, "n": i, ...extra} for i in [0, count).
    static void SeedNumbered(const std::string& collection, int count,
                             const std::string& extra = "") {
        std::string json = "[";
        for (int i = 0; i < count; ++i) {
            if (i) json += ",";
            json += "{\"_id\":" + std::to_string(i) + ",\"n\":" + std::to_string(i) + extra + "}";
        }
        Server().Seed(collection, json + "]");
    }

    // The int32 field "n" of every document, in reply order.
    static std::vector<int> Numbers(const Poco::MongoDB::Document::Vector& documents) {
        std::vector<int> numbers;
        for (const auto& document : documents) numbers.push_back(document->get<Poco::Int32>("n"));
        return numbers;
    }

    static std::vector<int> Range(int from, int to) {
        std::vector<int> numbers;
        for (int i = from; i < to; ++i) numbers.push_back(i);
        return numbers;
    }

    // The response flags of the server's reply to one request, which the
    // driver's ResponseMessage does not show.
    static std::int32_t ReplyFlags(Poco::MongoDB::RequestMessage& request) {
        Poco::Net::StreamSocket socket(Poco::Net::SocketAddress(TESTSUPPORT::TestServer::kHost,
                                                                TESTSUPPORT::TestServer::kPort));
        Poco::Net::SocketStream stream(socket);
        request.send(stream);
        char header[20];
        stream.read(header, sizeof header);
        if (!stream) throw std::runtime_error("no reply");
        std::int32_t flags;
        std::memcpy(&flags, header + 16, sizeof flags);
        return flags;
    }
};
