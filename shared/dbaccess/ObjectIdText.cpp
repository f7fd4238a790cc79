#include "dbaccess/ObjectIdText.h"

#include <cstddef>

#include "Poco/Ascii.h"

namespace DBACCESS {

bool IsObjectIdText(const std::string& text) {
    if (text.size() != 24) return false;
    for (char c : text) {
        if (!Poco::Ascii::isHexDigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

Poco::MongoDB::ObjectId::Ptr MakeObjectId(const std::string& text) {
    if (!IsObjectIdText(text)) return Poco::MongoDB::ObjectId::Ptr();
    return new Poco::MongoDB::ObjectId(text);
}

}  // namespace DBACCESS
