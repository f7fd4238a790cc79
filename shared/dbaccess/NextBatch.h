#pragma once

#include "Poco/MongoDB/Cursor.h"
#include "Poco/MongoDB/ResponseMessage.h"

#include "dbaccess/GuardedConnection.h"

namespace DBACCESS {

// The cursor's next batch over connection, as Cursor::next. A refusal
// raises DatabaseRefusedException ("<full collection name>: <server's text>
// (code N)", the code also as the exception's), a broken exchange the
// DatabaseException of its cause (GuardedConnection::ThrowSocketFailure).
Poco::MongoDB::ResponseMessage& NextBatch(Poco::MongoDB::Cursor& cursor,
                                          GuardedConnection& connection);

}  // namespace DBACCESS
