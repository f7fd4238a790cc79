#include "runtime/ZBase.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <zmq.h>

#include "MessagingFixture.h"
#include "runtime/ZContext.h"
#include "runtime/ZPush.h"

namespace {

using QXUTIL::ZEROMQ::ZBase;
using QXUTIL::ZEROMQ::ZContext;
using QXUTIL::ZEROMQ::ZPush;
using Clock = std::chrono::steady_clock;

class ZBaseTest : public MessagingTest {};

TEST_F(ZBaseTest, APushSocketDeliversToAPullSocket) {
    const std::string endpoint = FreeEndpoint();
    ZBase pull;
    ASSERT_EQ(pull.Bind(endpoint, ZMQ_PULL), 0) << pull.LastErrorText();
    ZPush push;
    ASSERT_EQ(push.Connect(endpoint), 0) << push.LastErrorText();
    EXPECT_TRUE(push.IsOpen());
    EXPECT_EQ(push.LastError(), 0);
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_ + 2);

    EXPECT_EQ(push.Send("hello"), 0);
    EXPECT_EQ(pull.ReceiveString(5000), "hello");
    EXPECT_EQ(pull.LastError(), 0);
    EXPECT_EQ(pull.LastErrorText(), "None");

    push.Close();
    EXPECT_FALSE(push.IsOpen());
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_ + 1);
}

TEST_F(ZBaseTest, AMessageOfSeveralPartsArrivesAsOneTextOrOneBuffer) {
    const std::string endpoint = FreeEndpoint();
    ZBase pull;
    ASSERT_EQ(pull.Bind(endpoint, ZMQ_PULL), 0);
    ZPush push;
    ASSERT_EQ(push.Connect(endpoint), 0);

    const auto sendThreeParts = [&push] {
        EXPECT_EQ(push.SendString("ab", true), 0);
        EXPECT_EQ(push.SendString("cd", true), 0);
        EXPECT_EQ(push.SendString("ef", false), 0);
    };
    sendThreeParts();
    EXPECT_EQ(pull.ReceiveString(5000), "abcdef");
    sendThreeParts();
    int size = 0;
    const void* data = pull.ReceiveData(size, 5000);
    ASSERT_EQ(size, 6);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 6), "abcdef");

    // Text stops at a part's first NUL; data keeps every byte.
    const auto sendWithNul = [&push] {
        EXPECT_EQ(push.SendData("a\0b", 3, true), 0);
        EXPECT_EQ(push.SendData("c", 1, false), 0);
    };
    sendWithNul();
    EXPECT_EQ(pull.ReceiveString(5000), "ac");
    sendWithNul();
    data = pull.ReceiveData(size, 5000);
    ASSERT_EQ(size, 4);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 4), std::string("a\0bc", 4));
}

TEST_F(ZBaseTest, AReceiveThatTimesOutClearsTheError) {
    ZBase pull;
    ASSERT_EQ(pull.Bind(FreeEndpoint(), ZMQ_PULL), 0);
    auto start = Clock::now();
    EXPECT_EQ(pull.ReceiveString(100), "");
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(90));
    EXPECT_EQ(pull.LastError(), 0);
    EXPECT_EQ(pull.LastErrorText(), "");

    int size = 5;
    EXPECT_EQ(pull.ReceiveData(size, 100), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(pull.LastErrorText(), "");

    // A socket made again has the library's own time-out (wait for ever); the
    // time-out asked for still applies to it.
    pull.Close();
    ASSERT_EQ(pull.Bind(FreeEndpoint(), ZMQ_PULL), 0);
    start = Clock::now();
    EXPECT_EQ(pull.ReceiveString(100), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    ZBase fresh;
    ASSERT_EQ(fresh.Bind(FreeEndpoint(), ZMQ_PULL), 0);
    start = Clock::now();
    EXPECT_EQ(fresh.ReceiveString(0), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST_F(ZBaseTest, ASuccessfulSendKeepsTheSocketWhateverErrnoLastHeld) {
    const std::string endpoint = FreeEndpoint();
    ZBase pull;
    ASSERT_EQ(pull.Bind(endpoint, ZMQ_PULL), 0);
    ZPush push;
    ASSERT_EQ(push.Connect(endpoint), 0);
    errno = EFAULT;  // left over from some earlier failure
    EXPECT_EQ(push.SendData("x", 1, false), 0);
    EXPECT_TRUE(push.IsOpen());
    EXPECT_EQ(push.LastError(), 0);
    EXPECT_EQ(push.LastErrorText(), "None");
    EXPECT_EQ(pull.ReceiveString(5000), "x");
}

TEST_F(ZBaseTest, AReceiveEndedByContextTerminationClosesTheSocket) {
    ZBase pull;
    ASSERT_EQ(pull.Bind(FreeEndpoint(), ZMQ_PULL), 0);
    // Termination waits for the socket, and the waiting receive fails with ETERM.
    void* context = ZContext::Context.exchange(nullptr);
    std::thread terminate([context] { zmq_ctx_term(context); });
    int size = 9;
    EXPECT_EQ(pull.ReceiveData(size, 10000), nullptr);
    terminate.join();
    EXPECT_EQ(size, 0);
    EXPECT_EQ(pull.LastError(), ETERM);
    EXPECT_EQ(pull.LastErrorText(), zmq_strerror(ETERM));
    EXPECT_FALSE(pull.IsOpen());
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_);
}

TEST_F(ZBaseTest, AFailedConnectOpensNothingAndTheLastGuardEndsAnUnusedContext) {
    ZBase pull;
    ASSERT_EQ(pull.Bind(FreeEndpoint(), ZMQ_PULL), 0);
    ZPush push;
    EXPECT_NE(push.Connect("nonsense://nowhere"), 0);
    EXPECT_FALSE(push.IsOpen());
    EXPECT_EQ(push.LastError(), EPROTONOSUPPORT);
    EXPECT_EQ(push.LastErrorText(), zmq_strerror(EPROTONOSUPPORT));
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_ + 1);
    EXPECT_NE(ZContext::Context.load(), nullptr) << "a socket is open in it";

    pull.Close();
    EXPECT_NE(push.Connect("nonsense://nowhere"), 0);
    EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_);
    EXPECT_EQ(ZContext::Context.load(), nullptr) << "no socket open: terminated";
}

TEST(ZBaseWithoutContextTest, EverySocketFailsWithTheLibrarysText) {
    ASSERT_EQ(ZContext::Context.load(), nullptr);
    const int open = ZContext::OpenSocketCount.load();
    ZPush push;
    EXPECT_EQ(push.Connect("tcp://127.0.0.1:10001"), -1);
    EXPECT_FALSE(push.IsOpen());
    EXPECT_EQ(push.LastError(), EFAULT);
    EXPECT_EQ(push.LastErrorText(), zmq_strerror(EFAULT));
    EXPECT_EQ(push.Bind("tcp://127.0.0.1:10001"), -1);
    EXPECT_EQ(ZContext::OpenSocketCount.load(), open);
    EXPECT_EQ(ZContext::UserCount.load(), 0) << "every guard ended";
}

TEST(ZBaseWithoutContextTest, AClosedSocketSendsNothingAndWaitsOutAReceive) {
    ZPush push;
    EXPECT_EQ(push.Send("x"), 0) << "nothing to send with";
    EXPECT_EQ(push.SendString("x", false), -1);
    EXPECT_EQ(push.SendData("x", 1, false), -1);
    const auto start = Clock::now();
    EXPECT_EQ(push.ReceiveString(200), "");
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(190));
    EXPECT_EQ(push.LastError(), -1);
}

}  // namespace
