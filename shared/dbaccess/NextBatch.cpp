#include "dbaccess/NextBatch.h"

#include <string>

#include "Poco/Exception.h"

#include "dbaccess/DatabaseException.h"
#include "dbaccess/ReplyRefusal.h"

namespace DBACCESS {

Poco::MongoDB::ResponseMessage& NextBatch(Poco::MongoDB::Cursor& cursor,
                                          GuardedConnection& connection) {
    const std::string context = cursor.query().fullCollectionName();
    Poco::MongoDB::ResponseMessage* reply = nullptr;
    try {
        reply = &cursor.next(connection);
    } catch (const Poco::IOException&) {
        connection.ThrowSocketFailure(context);
        throw;
    }
    int code = 0;
    const std::string refusal = RefusalText(*reply, connection.LastReplyFlags(), code);
    if (!refusal.empty()) throw DatabaseRefusedException(context, refusal, code);
    return *reply;
}

}  // namespace DBACCESS
