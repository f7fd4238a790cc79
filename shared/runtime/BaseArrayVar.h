#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "Poco/MongoDB/Array.h"

#include "runtime/StrModifier.h"

namespace CORVANE {

// A record field holding a document array of strings as an ordered set of
// distinct texts. Each added text goes through the case conversion and the
// modifier; the values given to the constructor are taken as they are.
// While `readOnly` is set every Add is a dry run.
template <class M>
class BaseArrayVar {
public:
    BaseArrayVar();
    BaseArrayVar(const std::string& varName, const std::set<std::string>& texts,
                 const StrModifier& rule);
    BaseArrayVar(const BaseArrayVar& other) = default;
    BaseArrayVar& operator=(const BaseArrayVar& other) = default;
    virtual ~BaseArrayVar();

    virtual std::set<std::string> GetValues() const;

    // Adds what the modifier makes of text (as a proposal against the empty
    // text). With store true and the variable writable: true when a text
    // was added or already present (either sets `changed`), false when the
    // modifier refused it or left nothing. As a dry run: true when the
    // modifier leaves a non-empty text.
    virtual bool Add(const std::string& text, bool store);

    // Adds every string element of array, in index order; other elements
    // are skipped. Neither empties the set first nor clears `changed`.
    // Throws Poco::NullPointerException for a null array.
    void LoadFromArray(Poco::MongoDB::Array::Ptr array);

    M modifier;
    std::set<std::string> initialValues;  // the set given to the constructor
    std::string name;                     // document field name
    std::set<std::string> values;
    std::string spareText;
    bool changed;
    bool readOnly;
    std::int32_t caseConversion;  // kCaseConversionLower, kCaseConversionUpper or none
};

extern template class BaseArrayVar<StrModifier>;

}  // namespace CORVANE
