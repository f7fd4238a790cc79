#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace DBACCESS {

// Largest message a MongoDB server sends.
constexpr std::size_t kMaxReplySize = 48000000;
// Deepest nesting of sub-documents and arrays below a reply's documents
// (MongoDB stores no deeper document).
constexpr int kMaxDocumentNesting = 100;

enum class ReplyVerdict {
    // Safe for the library's reader.
    Sound,
    // Not one whole, well-formed OP_REPLY.
    Malformed,
    // Whole and well-formed, but a document is nested deeper than
    // kMaxDocumentNesting: the library's reader would recurse without end.
    TooDeep,
};

// Whether message is one whole, well-formed OP_REPLY: its length field
// equals its size, and it holds exactly the announced number of BSON
// documents, each element within its document and of a type the library
// reads, nested at most kMaxDocumentNesting deep. Anything but Sound comes
// with the problem in words in problem (for Malformed the first one found).
// The library's reader trusts every length it meets and spins or aborts on
// anything less (see GuardedSocketImpl).
ReplyVerdict CheckReply(std::string_view message, std::string& problem);

}  // namespace DBACCESS
