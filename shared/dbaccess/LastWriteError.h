#pragma once

#include <string>

#include "dbaccess/GuardedConnection.h"

namespace DBACCESS {

// The server's verdict on the last write sent over connection, asked with
// getLastError on database. Empty only when the answer is ok: 1 without an
// "err" text; the "err" text when the write failed; otherwise (the check
// refused, answered without ok: 1 or with no document at all) "the write
// was not confirmed: <why>", the server's text and code as
// ServerErrorText gives them. A broken exchange raises the DatabaseException
// of its cause, context in front of it (GuardedConnection::ThrowSocketFailure).
std::string LastWriteError(GuardedConnection& connection, const std::string& database,
                           const std::string& context);

}  // namespace DBACCESS
