#include "runtime/ZPushService.h"

#include <string>

#include <gtest/gtest.h>
#include <zmq.h>

#include "MessagingFixture.h"
#include "runtime/LogsControl.h"
#include "runtime/ZBase.h"
#include "runtime/ZContext.h"
#include "runtime/ZPushServiceSocket.h"

namespace {

using QXUTIL::ZEROMQ::ZBase;
using QXUTIL::ZEROMQ::ZContext;
using QXUTIL::ZEROMQ::ZPushService;

class ZPushServiceTest : public MessagingTest {
protected:
    void TearDown() override {
        service_.Disconnect(endpoint_);
        MessagingTest::TearDown();
    }

    std::size_t Registered() const { return ZPushService::Sockets.count(endpoint_); }

    const std::string endpoint_ = FreeEndpoint();
    ZPushService service_;
};

TEST_F(ZPushServiceTest, OneSocketPerEndpointIsSharedByReference) {
    ZBase pull;
    ASSERT_EQ(pull.Bind(endpoint_, ZMQ_PULL), 0);
    EXPECT_EQ(service_.Connect(endpoint_), 0);
    EXPECT_EQ(service_.Connect(endpoint_), 0);
    ASSERT_EQ(Registered(), 1u);
    ZPushService::ZPushServiceSocket& socket = *ZPushService::Sockets[endpoint_];
    EXPECT_EQ(socket.References(), 2);
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_ + 2) << "the pull and one push";

    socket.Release();
    EXPECT_TRUE(socket.IsOpen());
    service_.Send(endpoint_, "one");
    service_.Send(endpoint_, "two");
    EXPECT_EQ(pull.ReceiveString(5000), "one");
    EXPECT_EQ(pull.ReceiveString(5000), "two");
    EXPECT_EQ(Registered(), 1u);

    socket.Release();
    EXPECT_FALSE(socket.IsOpen());
    service_.Send(endpoint_, "lost");
    EXPECT_EQ(Registered(), 0u) << "a closed socket is dropped, not kept sending nothing";
    service_.Send(endpoint_, "again");
    EXPECT_EQ(Registered(), 1u);
    EXPECT_EQ(pull.ReceiveString(5000), "again");
}

TEST_F(ZPushServiceTest, AFailedConnectTakesItsReferenceBack) {
    ZBase pull;  // open first: the context outlives the failed connect
    ASSERT_EQ(pull.Bind(endpoint_, ZMQ_PULL), 0);
    ZPushService::ZPushServiceSocket socket;
    EXPECT_NE(socket.Connect("nonsense://nowhere"), 0);
    EXPECT_EQ(socket.References(), 0);
    EXPECT_EQ(socket.Connect(endpoint_), 0);
    EXPECT_TRUE(socket.IsOpen()) << "the next connect really connects";
    EXPECT_EQ(socket.Send("x"), 0);
    EXPECT_EQ(pull.ReceiveString(5000), "x");
}

TEST_F(ZPushServiceTest, AFailedSendDropsTheEntryAndTheNextSendConnectsAnew) {
    // Nobody listens: messages queue up to the high-water mark, then sends fail.
    service_.Send(endpoint_, "first");
    ASSERT_EQ(Registered(), 1u);
    service_.SetLinger(endpoint_, 0);  // the dropped socket's queue is not waited for
    int sent = 1;
    while (Registered() == 1 && sent < 5000) {
        service_.Send(endpoint_, "queued");
        ++sent;
    }
    EXPECT_EQ(Registered(), 0u) << sent;
    EXPECT_EQ(sent, ZBase::kDefaultHighWaterMark + 1) << "the high-water mark bounds the queue";
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_);

    ZBase pull;
    ASSERT_EQ(pull.Bind(endpoint_, ZMQ_PULL), 0);
    service_.Send(endpoint_, "fresh");
    EXPECT_EQ(Registered(), 1u);
    // The dropped socket's queue may still reach the new listener before it
    // is discarded; what counts is that the new socket delivers.
    std::string received;
    for (int i = 0; i <= sent && received != "fresh"; ++i) {
        received = pull.ReceiveString(5000);
    }
    EXPECT_EQ(received, "fresh");
}

TEST(ZPushServiceWithoutContextTest, EveryForwardFailsAndNothingIsKept) {
    ASSERT_EQ(ZContext::Context.load(), nullptr);
    const int open = ZContext::OpenSocketCount.load();
    const std::string endpoint = LogsControl::ForwardEndpoint();
    ZPushService service;
    EXPECT_EQ(service.Connect(endpoint), -1);
    for (int i = 0; i < 100; ++i) {
        service.Send(endpoint, "trace line\r\n");
    }
    service.SetLinger(endpoint, 0);
    EXPECT_EQ(ZPushService::Sockets.count(endpoint), 0u);
    EXPECT_EQ(ZContext::OpenSocketCount.load(), open);
}

}  // namespace
