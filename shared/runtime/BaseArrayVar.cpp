#include "runtime/BaseArrayVar.h"

#include <climits>

#include "Poco/MongoDB/Element.h"

#include "runtime/CaseConversion.h"

namespace CORVANE {

template <class M>
BaseArrayVar<M>::BaseArrayVar() : changed(false), readOnly(false), caseConversion(0) {}

template <class M>
BaseArrayVar<M>::BaseArrayVar(const std::string& varName, const std::set<std::string>& texts,
                              const StrModifier& rule)
    : initialValues(texts),
      name(varName),
      values(texts),
      changed(false),
      readOnly(false),
      caseConversion(0) {
    static_cast<StrModifier&>(modifier) = rule;
}

template <class M>
BaseArrayVar<M>::~BaseArrayVar() = default;

template <class M>
std::set<std::string> BaseArrayVar<M>::GetValues() const {
    return values;
}

template <class M>
bool BaseArrayVar<M>::Add(const std::string& text, bool store) {
    bool accepted = false;
    const std::string result = modifier.Apply(ConvertCase(text, caseConversion), "", accepted);
    if (!store || readOnly) return !result.empty();
    if (!accepted) return false;
    changed = true;
    if (result.empty()) return false;
    values.insert(result);
    return true;
}

template <class M>
void BaseArrayVar<M>::LoadFromArray(Poco::MongoDB::Array::Ptr array) {
    using StringElement = Poco::MongoDB::ConcreteElement<std::string>;
    const std::size_t count = array->size();
    for (std::size_t index = 0; index < count && index <= INT_MAX; ++index) {
        // An array read from the wire names its elements "0", "1", ...; an
        // element missing under its index is skipped like any non-string.
        const Poco::MongoDB::Element::Ptr element = array->get(static_cast<int>(index));
        if (element.isNull() ||
            element->type() != Poco::MongoDB::ElementTraits<std::string>::TypeId)
            continue;
        if (const auto* text = dynamic_cast<const StringElement*>(element.get()))
            Add(text->value(), true);
    }
}

template class BaseArrayVar<StrModifier>;

}  // namespace CORVANE
