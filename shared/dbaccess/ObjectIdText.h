#pragma once

#include <string>

#include "Poco/MongoDB/ObjectId.h"

namespace DBACCESS {

// True when text is exactly 24 hexadecimal digits (either case): the only
// texts an ObjectId may be made from (the library's constructor reads 24
// characters whatever the text holds).
bool IsObjectIdText(const std::string& text);

// The ObjectId of such a text; null for any other text. Reads by ObjectId
// report "not found" for a null id without sending anything.
Poco::MongoDB::ObjectId::Ptr MakeObjectId(const std::string& text);

// The id as 24 lowercase hexadecimal digits, as id.toString() gives it.
std::string ObjectIdText(const Poco::MongoDB::ObjectId::Ptr& id);

}  // namespace DBACCESS
