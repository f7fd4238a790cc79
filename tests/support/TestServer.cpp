#include "support/TestServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

namespace TESTSUPPORT {

namespace {

const char* const kPython = "/usr/bin/python3";
// Generous: a Documents() call on a collection of many thousand documents
// must not be cut off on a loaded build machine.
const int kAnswerTimeoutMs = 120000;
const int kStartTimeoutMs = 60000;

TestServer* instance = nullptr;

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

[[noreturn]] void Fail(const std::string& message) {
    ADD_FAILURE() << message;
    throw std::runtime_error(message);
}

}  // namespace

TestServer& TestServer::Get() {
    static std::once_flag once;
    std::call_once(once, [] {
        instance = new TestServer();
        std::atexit([] {
            // The server also ends when its end of the channel closes; the kill
            // covers a server that hangs in a request.
            if (instance->channel_ >= 0) ::close(instance->channel_);
            if (instance->pid_ > 0) {
                ::kill(instance->pid_, SIGKILL);
                ::waitpid(instance->pid_, nullptr, 0);
            }
        });
    });
    return *instance;
}

TestServer::TestServer() {
    int channel[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        std::fprintf(stderr, "test database server: socketpair failed: %s\n", std::strerror(errno));
        std::exit(EXIT_FAILURE);
    }
    pid_t pid = ::fork();
    if (pid < 0) {
        std::fprintf(stderr, "test database server: fork failed: %s\n", std::strerror(errno));
        std::exit(EXIT_FAILURE);
    }
    if (pid == 0) {
        // The channel becomes the server's stdin and stdout; dup2 clears
        // close-on-exec on the copies, fcntl on a descriptor that is already 0 or 1.
        for (int target : {0, 1}) {
            if (channel[1] == target) {
                ::fcntl(target, F_SETFD, 0);
            } else {
                ::dup2(channel[1], target);
            }
        }
        const char* script = QX_TEST_SERVER_SCRIPT;
        ::execl(kPython, kPython, script, "--control", static_cast<char*>(nullptr));
        // Only async-signal-safe calls between fork and exec: the parent may run threads.
        static const char message[] = "test database server: cannot run /usr/bin/python3\n";
        ssize_t ignored = ::write(2, message, sizeof message - 1);
        (void)ignored;
        ::_exit(127);
    }
    ::close(channel[1]);
    pid_ = pid;
    channel_ = channel[0];

    std::string line;
    if (!ReadLine(line, kStartTimeoutMs) || line != "ready") {
        std::fprintf(stderr,
                     "test database server did not start on %s:%d (see its message above)\n", kHost,
                     kPort);
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        std::exit(EXIT_FAILURE);
    }
}

bool TestServer::ReadLine(std::string& line, int timeoutMs) {
    for (;;) {
        std::string::size_type end = pending_.find('\n');
        if (end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        pollfd waiting{channel_, POLLIN, 0};
        int ready = ::poll(&waiting, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char buffer[65536];
        ssize_t got = ::recv(channel_, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

std::vector<std::string> TestServer::Call(const std::string& commandJson) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string message = commandJson + "\n";
    std::size_t sent = 0;
    while (sent < message.size()) {
        ssize_t n = ::send(channel_, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("test database server is gone (sending " + commandJson + ")");
        sent += static_cast<std::size_t>(n);
    }
    std::string head;
    if (!ReadLine(head, kAnswerTimeoutMs))
        Fail("test database server did not answer " + commandJson);
    if (head.compare(0, 4, "ERR ") == 0)
        Fail("test database server refused " + commandJson + ": " + head.substr(4));
    if (head.compare(0, 3, "OK ") != 0) Fail("test database server answered garbage: " + head);
    long count = std::strtol(head.c_str() + 3, nullptr, 10);
    std::vector<std::string> lines;
    for (long i = 0; i < count; ++i) {
        std::string line;
        if (!ReadLine(line, kAnswerTimeoutMs))
            Fail("test database server broke off its answer to " + commandJson);
        lines.push_back(line);
    }
    return lines;
}

std::string TestServer::CallOne(const std::string& commandJson) {
    std::vector<std::string> lines = Call(commandJson);
    if (lines.size() != 1) Fail("test database server gave no value for " + commandJson);
    return lines.front();
}

void TestServer::Reset() { Call(R"({"cmd": "reset"})"); }

void TestServer::Seed(const std::string& collection, const std::string& extendedJsonArray) {
    Call(R"({"cmd": "seed", "collection": )" + JsonString(collection) + R"(, "documents": )" +
         JsonString(extendedJsonArray) + "}");
}

void TestServer::SeedFile(const std::string& path) {
    Call(R"({"cmd": "seedfile", "path": )" + JsonString(path) + "}");
}

std::string TestServer::Documents(const std::string& collection) {
    return CallOne(R"({"cmd": "documents", "collection": )" + JsonString(collection) + "}");
}

std::string TestServer::Document(const std::string& collection, const std::string& idExtendedJson) {
    return CallOne(R"({"cmd": "document", "collection": )" + JsonString(collection) +
                   R"(, "id": )" + JsonString(idExtendedJson) + "}");
}

std::string TestServer::Canonical(const std::string& extendedJson) {
    return CallOne(R"({"cmd": "canonical", "json": )" + JsonString(extendedJson) + "}");
}

int TestServer::OpenConnections() { return std::stoi(CallOne(R"({"cmd": "open"})")); }

int TestServer::AcceptedConnections() { return std::stoi(CallOne(R"({"cmd": "accepted"})")); }

bool TestServer::WaitForOpenConnections(int expected, int timeoutMs) {
    return std::stoi(CallOne(R"({"cmd": "open", "expect": )" + std::to_string(expected) +
                             R"(, "timeout": )" + std::to_string(timeoutMs) + "}")) == expected;
}

bool TestServer::WaitForAcceptedConnections(int expected, int timeoutMs) {
    return std::stoi(CallOne(R"({"cmd": "accepted", "expect": )" + std::to_string(expected) +
                             R"(, "timeout": )" + std::to_string(timeoutMs) + "}")) == expected;
}

std::vector<std::string> TestServer::Requests() { return Call(R"({"cmd": "requests"})"); }

void TestServer::StopListening() { Call(R"({"cmd": "stop"})"); }

void TestServer::StartListening() { Call(R"({"cmd": "start"})"); }

void TestServer::StopAccepting() { Call(R"({"cmd": "jam"})"); }

void TestServer::RefuseLegacyOpcodes() { Call(R"({"cmd": "legacyrefused", "on": true})"); }

void TestServer::LoseCursorBeforeNextGetMore(const std::string& collection) {
    Call(R"({"cmd": "losecursor", "collection": )" + JsonString(collection) + "}");
}

void TestServer::FailNextQuery(const std::string& collection, const std::string& errorText,
                               int code) {
    Call(R"({"cmd": "failquery", "collection": )" + JsonString(collection) + R"(, "text": )" +
         JsonString(errorText) + R"(, "code": )" + std::to_string(code) + "}");
}

void TestServer::FailNextGetMore(const std::string& collection, const std::string& errorText,
                                 int code) {
    Call(R"({"cmd": "failgetmore", "collection": )" + JsonString(collection) + R"(, "text": )" +
         JsonString(errorText) + R"(, "code": )" + std::to_string(code) + "}");
}

void TestServer::FailNextCommand(const std::string& collection, const std::string& errorText,
                                 int code) {
    Call(R"({"cmd": "failcommand", "collection": )" + JsonString(collection) + R"(, "text": )" +
         JsonString(errorText) + R"(, "code": )" + std::to_string(code) + "}");
}

void TestServer::AnswerNextCommandWith(const std::string& collection,
                                       const std::string& extendedJson) {
    Call(R"({"cmd": "answercommand", "collection": )" + JsonString(collection) +
         R"(, "document": )" + JsonString(extendedJson) + "}");
}

void TestServer::AnswerNextWithoutDocuments(const std::string& collection) {
    Call(R"({"cmd": "emptyreply", "collection": )" + JsonString(collection) + "}");
}

void TestServer::CloseConnectionMidReply(const std::string& collection) {
    Call(R"({"cmd": "cutreply", "collection": )" + JsonString(collection) + "}");
}

void TestServer::DelayNextReply(const std::string& collection, double seconds) {
    Call(R"({"cmd": "delayreply", "collection": )" + JsonString(collection) + R"(, "seconds": )" +
         std::to_string(seconds) + "}");
}

void TestServer::TrickleNextReply(const std::string& collection, double seconds) {
    Call(R"({"cmd": "tricklereply", "collection": )" + JsonString(collection) + R"(, "seconds": )" +
         std::to_string(seconds) + "}");
}

void TestServer::MangleNextReply(const std::string& collection, const std::string& how, int pass) {
    Call(R"({"cmd": "manglereply", "collection": )" + JsonString(collection) + R"(, "how": )" +
         JsonString(how) + R"(, "pass": )" + std::to_string(pass) + "}");
}

void TestServer::NeverEndCursor(const std::string& collection) {
    Call(R"({"cmd": "endlesscursor", "collection": )" + JsonString(collection) + "}");
}

}  // namespace TESTSUPPORT
