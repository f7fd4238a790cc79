#ifndef DBACCESS_REPLYCHECK_H
#define DBACCESS_REPLYCHECK_H

#include <cstddef>
#include <string>
#include <string_view>

namespace DBACCESS {

// Largest message a MongoDB server sends.
constexpr std::size_t MaxReplySize = 48000000;
// Deepest nesting of sub-documents and arrays below a reply's documents
// (MongoDB stores no deeper document).
constexpr int MaxDocumentNesting = 100;

// True when message is one whole, well-formed OP_REPLY: its length field
// equals its size, and it holds exactly the announced number of BSON
// documents, each element within its document and of a type the library
// reads, nested at most MaxDocumentNesting deep. Otherwise false, with the
// first problem found in problem. The library's reader trusts every length
// it meets and spins or aborts on anything less (see GuardedSocketImpl).
bool CheckReply(std::string_view message, std::string& problem);

}  // namespace DBACCESS

#endif
