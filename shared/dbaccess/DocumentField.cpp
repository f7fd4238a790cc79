#include "dbaccess/DocumentField.h"

#include "Poco/Timestamp.h"
#include "Poco/Types.h"

#include "runtime/ValueVar.h"

namespace DBACCESS {

namespace {

template <typename T>
Poco::MongoDB::Element::Ptr MakeElement(const std::string& name, const T& value) {
    return new Poco::MongoDB::ConcreteElement<T>(name, value);
}

// A fresh variable without bounds, so that any value is taken.
template <typename T>
T NumberOf(const std::string& text) {
    CORVANE::ValueVar<T> number;
    return number.FromString(text).value;
}

}  // namespace

DocumentField::DocumentField(int typeCode, const std::string& name, const std::string& text)
    : type(typeCode), value(name, std::string(), CORVANE::StrModifier()) {
    value.LoadFromString(text);
}

DocumentField::~DocumentField() = default;

Poco::MongoDB::Element::Ptr DocumentField::ToElement() const {
    const std::string& name = value.name;
    const std::string text = value.Get();
    switch (type) {
        case Poco::MongoDB::ElementTraits<double>::TypeId:
            return MakeElement(name, NumberOf<double>(text));
        case Poco::MongoDB::ElementTraits<std::string>::TypeId:
        case Poco::MongoDB::ElementTraits<Poco::Timestamp>::TypeId:
            return MakeElement(name, text);
        case Poco::MongoDB::ElementTraits<bool>::TypeId:
            return MakeElement(name, NumberOf<bool>(text));
        case Poco::MongoDB::ElementTraits<Poco::Int32>::TypeId:
            return MakeElement(name, static_cast<Poco::Int32>(NumberOf<int>(text)));
        default:
            return Poco::MongoDB::Element::Ptr();
    }
}

}  // namespace DBACCESS
