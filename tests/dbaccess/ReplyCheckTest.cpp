#include "dbaccess/ReplyCheck.h"

#include <string>

#include <gtest/gtest.h>

#include "BsonBytes.h"

namespace {

using namespace BSONBYTES;
using DBACCESS::CheckReply;
using DBACCESS::kMaxDocumentNesting;
using DBACCESS::ReplyVerdict;

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
        ReplyVerdict verdict;
    };
    const Case cases[] = {
        {"two documents", Reply({good, Doc("")}), ReplyVerdict::Sound},
        {"no documents", Reply({}), ReplyVerdict::Sound},
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
         ReplyVerdict::Sound},
        {"nested as deep as stored", Reply({Nested(kMaxDocumentNesting)}), ReplyVerdict::Sound},
        {"nested one deeper", Reply({Nested(kMaxDocumentNesting + 1)}), ReplyVerdict::TooDeep},
        // Too deep only where the rest of the reply is sound.
        {"nested one deeper in a reply cut short", Reply({Nested(kMaxDocumentNesting + 1)}, 2),
         ReplyVerdict::Malformed},
        // Refused at the limit without walking (or recursing) further down.
        {"nested two hundred thousand deep", Reply({Nested(200000)}), ReplyVerdict::TooDeep},
        {"shorter than a header", Reply({}).substr(0, 30), ReplyVerdict::Malformed},
        {"length field disagrees", Int32(999) + Reply({good}).substr(4), ReplyVerdict::Malformed},
        {"not a reply", Reply({good}, -1, 2004), ReplyVerdict::Malformed},
        {"fewer documents than announced", Reply({good}, 2), ReplyVerdict::Malformed},
        {"negative document count", Reply({}).replace(32, 4, Int32(-2)), ReplyVerdict::Malformed},
        {"bytes after the last document", Relength(Reply({good}) + "x"), ReplyVerdict::Malformed},
        {"cut inside a document", Relength(Reply({good}).substr(0, 60)), ReplyVerdict::Malformed},
        {"document size beyond the reply", Reply({Int32(500) + good.substr(4)}),
         ReplyVerdict::Malformed},
        {"document size too small", Reply({Int32(3) + good.substr(4)}), ReplyVerdict::Malformed},
        {"document without terminating zero", Reply({good.substr(0, good.size() - 1) + "x"}),
         ReplyVerdict::Malformed},
        {"string of size zero", Reply({Doc("\x02" + Name("s") + Int32(0))}),
         ReplyVerdict::Malformed},
        {"string beyond its document",
         Reply({Doc("\x02" + Name("s") + Int32(50) + "ab" + std::string(1, '\0'))}),
         ReplyVerdict::Malformed},
        {"string without terminating zero", Reply({Doc("\x02" + Name("s") + Int32(3) + "abc")}),
         ReplyVerdict::Malformed},
        {"binary of negative size",
         Reply({Doc("\x05" + Name("b") + Int32(-4) + std::string(1, '\0'))}),
         ReplyVerdict::Malformed},
        {"name running past the document",
         Reply({Doc("\x10"
                    "abc")}),
         ReplyVerdict::Malformed},
        {"value cut short", Reply({Doc("\x12" + Name("l") + Int32(1))}), ReplyVerdict::Malformed},
        {"sub-document past its parent", Reply({Doc(Sub("s", Int32(40) + std::string(1, '\0')))}),
         ReplyVerdict::Malformed},
        {"decimal128, which the library cannot read",
         Reply({Doc("\x13" + Name("d") + std::string(16, '\0'))}), ReplyVerdict::Malformed},
        {"min key", Reply({Doc("\xFF" + Name("m"))}), ReplyVerdict::Malformed},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_EQ(CheckReply(c.message, problem), c.verdict) << c.name << ": " << problem;
        EXPECT_EQ(problem.empty(), c.verdict == ReplyVerdict::Sound) << c.name;
    }
}

}  // namespace
