#pragma once

#include <string>
#include <type_traits>

#include "runtime/ValueText.h"

namespace CORVANE {

// One scalar field of a record (T = bool, int, long, unsigned long, long
// long or double), stored under `name`. A value is taken when it lies within
// [minimum, maximum]; a maximum of 0 (false, 0.0) takes every value.
// `changed` goes up when an assignment changes the value and only
// construction and LoadFromString bring it down again. While `readOnly` is
// set (the owning record sets and clears it) Set keeps the value.
template <typename T>
class ValueVar {
    static constexpr bool kIsInteger =
        std::is_same<T, int>::value || std::is_same<T, long>::value ||
        std::is_same<T, unsigned long>::value || std::is_same<T, long long>::value;
    static_assert(kIsInteger || std::is_same<T, bool>::value || std::is_same<T, double>::value,
                  "ValueVar holds bool, int, long, unsigned long, long long or double");

    // What the C runtime reads a text of T as: atoi for bool and int, atol
    // for long and unsigned long, atoll for long long.
    using TextInteger = typename std::conditional<
        std::is_same<T, bool>::value, int,
        typename std::conditional<std::is_same<T, unsigned long>::value, long, T>::type>::type;

public:
    ValueVar() : maximum(), minimum(), initialValue(), value(), changed(false), readOnly(false) {}

    // The default is stored as it is, without a limit test.
    template <typename U = T,
              typename std::enable_if<std::is_same<U, T>::value && kIsInteger, int>::type = 0>
    ValueVar(const std::string& varName, T initial, T max, T min)
        : maximum(max),
          minimum(min),
          initialValue(initial),
          name(varName),
          value(initial),
          changed(false),
          readOnly(false) {}

    template <typename U = T, typename std::enable_if<std::is_same<U, bool>::value, int>::type = 0>
    ValueVar(const std::string& varName, T initial, T max)
        : maximum(max),
          minimum(false),
          initialValue(initial),
          name(varName),
          value(initial),
          changed(false),
          readOnly(false) {}

    ValueVar(const ValueVar& other) = default;
    ValueVar(ValueVar&& other) = default;

    // Copies everything but the initial value, which stays the target's own.
    ValueVar& operator=(const ValueVar& other) {
        maximum = other.maximum;
        minimum = other.minimum;
        name = other.name;
        value = other.value;
        spareText = other.spareText;
        changed = other.changed;
        readOnly = other.readOnly;
        return *this;
    }

    virtual ~ValueVar() = default;

    // Returns the value held afterwards. v is stored only when store is
    // true, the variable is not read-only and v passes the limits.
    virtual T Set(T v, bool store) {
        if (v == value) return v;
        const bool inLimits = maximum == T() || (minimum <= v && v <= maximum);
        if (inLimits && store && !readOnly) {
            value = v;
            changed = true;
            return v;
        }
        return value;
    }

    // Assigns a text: the keywords of ReadValueKeyword, else the number as
    // the C runtime reads it (0 for a text that is no number; a double
    // text that cannot be read, or is too large, assigns nothing).
    ValueVar& FromString(const std::string& text) {
        int keyword = 0;
        if (ReadValueKeyword(text, keyword)) {
            Set(static_cast<T>(keyword), true);
        } else if constexpr (std::is_same<T, double>::value) {
            double number = 0.0;
            if (ReadDouble(text, number)) Set(number, true);
        } else if constexpr (std::is_same<T, bool>::value) {
            Set(ReadLeadingInteger(text) > 0, true);
        } else {
            Set(static_cast<T>(ReadLeadingInteger<TextInteger>(text)), true);
        }
        return *this;
    }

    // Assigns a stored text as a document load: the keywords, else a
    // checked integer (a text that is no number, or does not fit T - an int
    // for bool - assigns nothing). The changed flag ends up clear in every
    // case.
    void LoadFromString(const std::string& text) {
        static_assert(!std::is_same<T, double>::value, "a double is not loaded from a document");
        using Stored = typename std::conditional<std::is_same<T, bool>::value, int, T>::type;
        int keyword = 0;
        Stored number = 0;
        if (ReadValueKeyword(text, keyword)) {
            Set(static_cast<T>(keyword), true);
        } else if (ReadCheckedInteger(text, number)) {
            if constexpr (std::is_same<T, bool>::value)
                Set(number >= 1, true);
            else
                Set(number, true);
        }
        changed = false;
    }

    T maximum;
    T minimum;
    T initialValue;    // the default given to the constructor
    std::string name;  // document field name
    T value;
    std::string spareText;
    bool changed;
    bool readOnly;
};

}  // namespace CORVANE
