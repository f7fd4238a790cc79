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

// True when message is one whole, well-formed OP_REPLY: its length field
// equals its size, and it holds exactly the announced number of BSON
// documents, each element within its document and of a type the library
// reads, nested at most kMaxDocumentNesting deep. Otherwise false, with the
// first problem found in problem. The library's reader trusts every length
// it meets and spins or aborts on anything less (see GuardedSocketImpl).
bool CheckReply(std::string_view message, std::string& problem);

}  // namespace DBACCESS
