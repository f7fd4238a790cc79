#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>
#include <zmq.h>

#include "runtime/ZContext.h"

// Tests that need a messaging context: the programs never make one, so the
// test puts one where the sockets look for it, and ends it afterwards. Every
// socket a test opens must be closed by then.
class MessagingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QXUTIL::ZEROMQ::ZContext::Context.load(), nullptr);
        openBefore_ = QXUTIL::ZEROMQ::ZContext::OpenSocketCount.load();
        QXUTIL::ZEROMQ::ZContext::Context = zmq_ctx_new();
    }

    void TearDown() override {
        EXPECT_EQ(QXUTIL::ZEROMQ::ZContext::OpenSocketCount.load(), openBefore_)
            << "a socket was left open";
        if (void* context = QXUTIL::ZEROMQ::ZContext::Context.exchange(nullptr)) {
            zmq_ctx_term(context);
        }
    }

    // A TCP endpoint on 127.0.0.1 whose port was free a moment ago.
    static std::string FreeEndpoint() {
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        const bool bound =
            ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0;
        ::close(probe);
        EXPECT_TRUE(bound);
        return "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    }

    int openBefore_ = 0;
};
