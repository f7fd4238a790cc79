#include "dbaccess/ElementText.h"

#include <locale>
#include <sstream>

#include "Poco/DateTime.h"
#include "Poco/DateTimeFormatter.h"
#include "Poco/Exception.h"
#include "Poco/LocalDateTime.h"
#include "Poco/MongoDB/ObjectId.h"
#include "Poco/Timestamp.h"
#include "Poco/Types.h"

#include "dbaccess/ObjectIdText.h"

namespace DBACCESS {

namespace {

template <typename T>
bool ValueOf(const Poco::MongoDB::Element& element, T& value) {
    const auto* concrete = dynamic_cast<const Poco::MongoDB::ConcreteElement<T>*>(&element);
    if (concrete == nullptr) return false;
    value = concrete->value();
    return true;
}

template <typename T>
std::string StreamText(const T& value) {
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}

// The system keeps its times as local 17-digit texts, so a datetime stored
// by some other writer reads (and sorts) like them.
std::string LocalTimeText(const Poco::Timestamp& utc) {
    // 1601-01-01 and 10000-01-01, UTC, in microseconds since 1970.
    const Poco::Timestamp::TimeVal earliest = -11644473600LL * 1000000;
    const Poco::Timestamp::TimeVal latest = 253402300800LL * 1000000;
    if (utc.epochMicroseconds() < earliest || utc.epochMicroseconds() >= latest)
        return std::string();
    try {
        const Poco::LocalDateTime local{Poco::DateTime(utc)};
        if (local.year() < 1601 || local.year() > 9999) return std::string();
        return Poco::DateTimeFormatter::format(local, "%Y%m%d%H%M%S%i");
    } catch (const Poco::Exception&) {
        // No local time for it: as for a type without text.
        return std::string();
    }
}

}  // namespace

std::string ElementText(const Poco::MongoDB::Element& element) {
    switch (element.type()) {
        case Poco::MongoDB::ElementTraits<double>::TypeId: {
            double value = 0;
            if (ValueOf(element, value)) return StreamText(value);
            break;
        }
        case Poco::MongoDB::ElementTraits<std::string>::TypeId: {
            std::string value;
            if (ValueOf(element, value)) return value;
            break;
        }
        case Poco::MongoDB::ElementTraits<Poco::MongoDB::ObjectId::Ptr>::TypeId: {
            Poco::MongoDB::ObjectId::Ptr value;
            if (ValueOf(element, value) && !value.isNull()) return ObjectIdText(value);
            break;
        }
        case Poco::MongoDB::ElementTraits<bool>::TypeId: {
            bool value = false;
            if (ValueOf(element, value)) return value ? "1" : "0";
            break;
        }
        case Poco::MongoDB::ElementTraits<Poco::Int32>::TypeId: {
            Poco::Int32 value = 0;
            if (ValueOf(element, value)) return std::to_string(value);
            break;
        }
        case Poco::MongoDB::ElementTraits<Poco::Int64>::TypeId: {
            Poco::Int64 value = 0;
            if (ValueOf(element, value)) return std::to_string(value);
            break;
        }
        case Poco::MongoDB::ElementTraits<Poco::Timestamp>::TypeId: {
            Poco::Timestamp value;
            if (ValueOf(element, value)) return LocalTimeText(value);
            break;
        }
        default:
            break;
    }
    return std::string();
}

}  // namespace DBACCESS
