#pragma once

#include <string>

#include "Poco/MongoDB/Element.h"

namespace DBACCESS {

// The text a record gets for a scalar element:
//   double          the stream's default form (2.5, 1e+06, 0.333333)
//   string          as stored
//   ObjectId        24 lowercase hexadecimal digits
//   boolean         "1" or "0"
//   32/64-bit int   decimal
//   UTC datetime    the local time as the 17-digit database time text
//                   YYYYMMDDHHMMSSmmm (empty outside the years 1601-9999)
//   anything else   empty (null, binary, regular expression, code, ...)
std::string ElementText(const Poco::MongoDB::Element& element);

}  // namespace DBACCESS
