#pragma once

#include "Poco/Exception.h"

namespace DBACCESS {

// What ended an exchange with the database, told apart by type. The message
// names what was being done (usually the full collection name), then the
// cause, e.g. "kelden.mailbox: no reply began within 300 s". All are I/O
// errors to callers that catch the library's Poco::IOException.
POCO_DECLARE_EXCEPTION(, DatabaseException, Poco::IOException)
// The server answered with a refusal: its own text, and its code both in
// the message ("... (code 13)") and as the exception's code.
POCO_DECLARE_EXCEPTION(, DatabaseRefusedException, DatabaseException)
// A connect, a send or a reply took longer than its limit (DatabaseTimeLimits).
POCO_DECLARE_EXCEPTION(, DatabaseTimeoutException, DatabaseException)
// The connection ended or failed before the reply was whole.
POCO_DECLARE_EXCEPTION(, ConnectionClosedException, DatabaseException)
// A reply the library cannot read safely; the message says what was wrong.
POCO_DECLARE_EXCEPTION(, MalformedReplyException, DatabaseException)
// A reply that arrived whole and well-formed but holds a document the
// library cannot take apart (nested too deep): the database did its part,
// the document is what cannot be read.
POCO_DECLARE_EXCEPTION(, UnreadableDocumentException, MalformedReplyException)

}  // namespace DBACCESS
