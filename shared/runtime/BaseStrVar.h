#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "Poco/String.h"

#include "runtime/CaseConversion.h"
#include "runtime/DTMFStrModifier.h"
#include "runtime/FilenameStrModifier.h"
#include "runtime/FilepathStrModifier.h"
#include "runtime/NumberStrModifier.h"
#include "runtime/PrintableStrModifier.h"
#include "runtime/SafeStrModifier.h"
#include "runtime/StrModifier.h"

namespace CORVANE {

// One text field of a record, stored under `name`. Every assignment goes
// through the case conversion and then the modifier of class M, which
// decides what is stored. `changed` goes up when an assignment changes the
// value and only construction and LoadFromString bring it down again.
// While `readOnly` is set (the owning record sets and clears it) every
// assignment is a dry run.
template <class M>
class BaseStrVar {
public:
    BaseStrVar() : changed(false), readOnly(false), caseConversion(0) {}

    // Empty value, modifier of at most maxLength bytes (0: no limit).
    BaseStrVar(const std::string& varName, std::size_t maxLength)
        : name(varName), changed(false), readOnly(false), caseConversion(0) {
        modifier.maxLength = maxLength;
        modifier.minLength = 0;
    }

    // The configuration of rule is copied; the modifier keeps class M.
    BaseStrVar(const std::string& varName, const std::string& text, const StrModifier& rule)
        : name(varName), changed(false), readOnly(false), caseConversion(0) {
        static_cast<StrModifier&>(modifier) = rule;
        StoreInitial(text);
    }

    BaseStrVar(const std::string& varName, const std::string& text, std::size_t maxLength,
               const StrModifier& rule)
        : name(varName), changed(false), readOnly(false), caseConversion(0) {
        static_cast<StrModifier&>(modifier) = rule;
        modifier.maxLength = maxLength;
        modifier.minLength = 0;
        StoreInitial(text);
    }

    BaseStrVar(const BaseStrVar& other) = default;
    BaseStrVar(BaseStrVar&& other) = default;
    BaseStrVar& operator=(const BaseStrVar& other) = default;
    virtual ~BaseStrVar() = default;

    // The value without leading and trailing white space; the stored value
    // keeps it.
    virtual std::string Get() const { return Poco::trim(value); }

    // Assigns text and returns the value held afterwards: the old value
    // when the text was refused or the variable is read-only.
    virtual std::string Set(const std::string& text) {
        Assign(text, true);
        return value;
    }

    // With store false, or while read-only, returns what the modifier would
    // make of text (without the case conversion) and touches nothing.
    // Otherwise stores the modifier's result and returns it.
    virtual std::string Assign(const std::string& text, bool store) {
        bool accepted = false;
        if (!store || readOnly) return modifier.Apply(text, value, accepted);
        Store(text);
        return value;
    }

    // Set(text) with the text taken whole, blanks included.
    BaseStrVar& FromString(const std::string& text) {
        Set(text);
        return *this;
    }

    // Set(text) as a document load: the changed flag ends up clear whether
    // or not the text was taken.
    void LoadFromString(const std::string& text) {
        if (!readOnly) Store(text);
        changed = false;
    }

    M modifier;
    std::string initialValue;  // the value as the constructor stored it
    std::string name;          // document field name
    std::string value;
    std::string spareText;
    bool changed;
    bool readOnly;
    std::int32_t caseConversion;  // kCaseConversionLower, kCaseConversionUpper or none

private:
    // The storing half of Assign, without copies of the result; a text
    // without case conversion goes to the modifier as it is.
    void Store(const std::string& text) {
        bool accepted = false;
        std::string stored = caseConversion == 0 ? modifier.Apply(text, value, accepted)
                                                 : modifier.Apply(ConvertCase(text, caseConversion),
                                                                  value, accepted);
        if (!accepted) return;
        value = std::move(stored);
        changed = true;
    }

    void StoreInitial(const std::string& text) {
        Store(text);
        initialValue = value;
        changed = false;
    }
};

}  // namespace CORVANE
