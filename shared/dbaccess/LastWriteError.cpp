#include "dbaccess/LastWriteError.h"

#include "Poco/Exception.h"
#include "Poco/MongoDB/Database.h"
#include "Poco/MongoDB/QueryRequest.h"
#include "Poco/MongoDB/ResponseMessage.h"
#include "Poco/SharedPtr.h"

#include "dbaccess/ElementText.h"
#include "dbaccess/ReplyRefusal.h"

namespace DBACCESS {

std::string LastWriteError(GuardedConnection& connection, const std::string& database,
                           const std::string& context) {
    Poco::SharedPtr<Poco::MongoDB::QueryRequest> command =
        Poco::MongoDB::Database(database).createCommand();
    command->setNumberToReturn(1);
    command->selector().add("getLastError", 1);
    Poco::MongoDB::ResponseMessage reply;
    try {
        connection.sendRequest(*command, reply);
    } catch (const Poco::IOException&) {
        connection.ThrowSocketFailure(context);
        throw;
    }

    const std::string unconfirmed = "the write was not confirmed: ";
    int code = 0;
    const std::string refusal = RefusalText(reply, connection.LastReplyFlags(), code);
    if (!refusal.empty()) return unconfirmed + refusal;
    if (reply.documents().empty()) return unconfirmed + "getLastError gave no answer";
    const Poco::MongoDB::Document& answer = *reply.documents().front();
    const Poco::MongoDB::Element::Ptr ok = answer.get("ok");
    if (ok.isNull() || ElementText(*ok) != "1")
        return unconfirmed + ServerErrorText(answer, "errmsg", code);
    // "err" is null after a write that succeeded.
    const Poco::MongoDB::Element::Ptr err = answer.get("err");
    return err.isNull() ? std::string() : ElementText(*err);
}

}  // namespace DBACCESS
