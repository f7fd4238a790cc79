#pragma once

#include <string>

#include "Poco/MongoDB/Document.h"
#include "Poco/MongoDB/ResponseMessage.h"
#include "Poco/Types.h"

namespace DBACCESS {

// The server's error in words, "<text> (code N)", from document's text
// element textField ("$err" of a refused query, "errmsg" of a failed
// command) and its "code"; without a code just the text.
std::string ServerErrorText(const Poco::MongoDB::Document& document, const std::string& textField,
                            int& code);

// The server's refusal in a reply with response flags flags (the guarded
// socket's, GuardedConnection::LastReplyFlags): the QueryFailure flag or an
// "$err" document give ServerErrorText of "$err", the CursorNotFound flag of
// a get-more "cursor not found". Empty, code 0, when the reply refuses
// nothing; a reply without documents is no refusal.
std::string RefusalText(Poco::MongoDB::ResponseMessage& reply, Poco::Int32 flags, int& code);

}  // namespace DBACCESS
