#include "dbaccess/ReplyCheck.h"

#include <string>

#include <gtest/gtest.h>

#include "BsonBytes.h"

namespace {

using namespace BSONBYTES;
using DBACCESS::CheckReply;
using DBACCESS::kMaxDocumentNesting;

// The length field made to agree with a message cut or padded afterwards.
std::string Relength(std::string message) {
    return Int32(static_cast<std::int32_t>(message.size())) + message.substr(4);
}

TEST(ReplyCheckTest, AcceptsOnlyWholeWellFormedReplies) {
    const std::string good =
        Doc(Str("_id", "101") + I32("type", 5) + Sub("room", Doc(Str("roomid", "12"))));
    struct Case {
        const char* name;
        std::string message;
        bool accepted;
    };
    const Case cases[] = {
        {"two documents", Reply({good, Doc("")}), true},
        {"no documents", Reply({}), true},
        {"every readable type",
         Reply({Doc("\x01"
                    "d" +
                    std::string(1, '\0') + std::string(8, '\0') +
                    "\x07"
                    "o" +
                    std::string(1, '\0') + std::string(12, 'a') +
                    "\x08"
                    "b" +
                    std::string(1, '\0') + std::string(1, '\1') +
                    "\x09"
                    "t" +
                    std::string(1, '\0') + std::string(8, '\0') +
                    "\x0A"
                    "n" +
                    std::string(1, '\0') +
                    "\x0B"
                    "r" +
                    std::string(1, '\0') + Name("^a") + Name("i") +
                    "\x05"
                    "x" +
                    std::string(1, '\0') + Int32(2) + std::string(3, '\0') +
                    "\x11"
                    "s" +
                    std::string(1, '\0') + std::string(8, '\0') +
                    "\x12"
                    "l" +
                    std::string(1, '\0') + std::string(8, '\0'))}),
         true},
        {"nested as deep as stored", Reply({Nested(kMaxDocumentNesting)}), true},
        {"nested one deeper", Reply({Nested(kMaxDocumentNesting + 1)}), false},
        // Refused at the limit without walking (or recursing) further down.
        {"nested two hundred thousand deep", Reply({Nested(200000)}), false},
        {"shorter than a header", Reply({}).substr(0, 30), false},
        {"length field disagrees", Int32(999) + Reply({good}).substr(4), false},
        {"not a reply", Reply({good}, -1, 2004), false},
        {"fewer documents than announced", Reply({good}, 2), false},
        {"negative document count", Reply({}).replace(32, 4, Int32(-2)), false},
        {"bytes after the last document", Relength(Reply({good}) + "x"), false},
        {"cut inside a document", Relength(Reply({good}).substr(0, 60)), false},
        {"document size beyond the reply", Reply({Int32(500) + good.substr(4)}), false},
        {"document size too small", Reply({Int32(3) + good.substr(4)}), false},
        {"document without terminating zero", Reply({good.substr(0, good.size() - 1) + "x"}),
         false},
        {"string of size zero", Reply({Doc("\x02" + Name("s") + Int32(0))}), false},
        {"string beyond its document",
         Reply({Doc("\x02" + Name("s") + Int32(50) + "ab" + std::string(1, '\0'))}), false},
        {"string without terminating zero", Reply({Doc("\x02" + Name("s") + Int32(3) + "abc")}),
         false},
        {"binary of negative size",
         Reply({Doc("\x05" + Name("b") + Int32(-4) + std::string(1, '\0'))}), false},
        {"name running past the document",
         Reply({Doc("\x10"
                    "abc")}),
         false},
        {"value cut short", Reply({Doc("\x12" + Name("l") + Int32(1))}), false},
        {"sub-document past its parent", Reply({Doc(Sub("s", Int32(40) + std::string(1, '\0')))}),
         false},
        {"decimal128, which the library cannot read",
         Reply({Doc("\x13" + Name("d") + std::string(16, '\0'))}), false},
        {"min key", Reply({Doc("\xFF" + Name("m"))}), false},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_EQ(CheckReply(c.message, problem), c.accepted) << c.name << ": " << problem;
        EXPECT_EQ(problem.empty(), c.accepted) << c.name;
    }
}

}  // namespace
