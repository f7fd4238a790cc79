#include "dbaccess/DatabaseException.h"

#include <typeinfo>

namespace DBACCESS {

POCO_IMPLEMENT_EXCEPTION(DatabaseException, Poco::IOException, "Database error")
POCO_IMPLEMENT_EXCEPTION(DatabaseRefusedException, DatabaseException, "Refused by the database")
POCO_IMPLEMENT_EXCEPTION(DatabaseTimeoutException, DatabaseException, "Timed out")
POCO_IMPLEMENT_EXCEPTION(ConnectionClosedException, DatabaseException, "Connection closed")
POCO_IMPLEMENT_EXCEPTION(MalformedReplyException, DatabaseException, "Malformed reply")
POCO_IMPLEMENT_EXCEPTION(UnreadableDocumentException, MalformedReplyException, "Malformed reply")

}  // namespace DBACCESS
