#include "dbaccess/ReplyRefusal.h"

#include <cstdlib>

#include "dbaccess/ElementText.h"

namespace DBACCESS {

namespace {

// Response flags of OP_REPLY.
const Poco::Int32 CursorNotFound = 1;
const Poco::Int32 QueryFailure = 2;

const char* const kErrorField = "$err";

}  // namespace

std::string ServerErrorText(const Poco::MongoDB::Document& document, const std::string& textField,
                            int& code) {
    const Poco::MongoDB::Element::Ptr text = document.get(textField);
    std::string result = text.isNull() ? std::string() : ElementText(*text);
    if (result.empty()) result = "no error text";
    code = 0;
    const Poco::MongoDB::Element::Ptr codeElement = document.get("code");
    const std::string codeText = codeElement.isNull() ? std::string() : ElementText(*codeElement);
    if (!codeText.empty()) {
        code = std::atoi(codeText.c_str());
        result += " (code " + codeText + ")";
    }
    return result;
}

std::string RefusalText(Poco::MongoDB::ResponseMessage& reply, Poco::Int32 flags, int& code) {
    code = 0;
    const Poco::MongoDB::Document::Vector& documents = reply.documents();
    const bool errorDocument = !documents.empty() && !documents.front()->get(kErrorField).isNull();
    if ((flags & QueryFailure) != 0 || errorDocument) {
        if (documents.empty()) return "the request was refused without a reason";
        return ServerErrorText(*documents.front(), kErrorField, code);
    }
    if ((flags & CursorNotFound) != 0)
        return "cursor not found: the server no longer knows the query's cursor";
    return std::string();
}

}  // namespace DBACCESS
