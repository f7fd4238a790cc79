// Checks that a record builds its number fields with their defaults, so that
// a field's initial value is its default and Clear brings that back.

#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/ValueVar.h"

namespace TESTSUPPORT {

// Field name to default.
using Defaults = std::map<std::string, int>;

struct NumberField {
    std::string name;
    int initial;
    int value;
    bool readOnly;
};

template <typename T>
NumberField Of(const CORVANE::ValueVar<T>& field) {
    return {field.name, static_cast<int>(field.initialValue), static_cast<int>(field.value),
            field.readOnly};
}

// With reload, every field of defaults is first loaded from a document text
// (which makes some of them read-only) and the record is then cleared.
template <class Record>
void Reload(Record& record, const Defaults& defaults, bool reload) {
    if (!reload) return;
    for (const auto& field : defaults) record.SetField(field.first, "7");
    record.Clear();
}

struct RecordCase {
    const char* record;
    Defaults defaults;
    std::function<std::vector<NumberField>(const Defaults&, bool reload)> fields;
};

// Each case's fields as built and after a load and Clear.
inline void ExpectNumberDefaults(const std::vector<RecordCase>& cases) {
    for (const RecordCase& c : cases) {
        for (const bool reload : {false, true}) {
            const std::vector<NumberField> fields = c.fields(c.defaults, reload);
            ASSERT_EQ(fields.size(), c.defaults.size()) << c.record;
            for (const NumberField& field : fields) {
                const std::string where = std::string(c.record) + " \"" + field.name + "\"" +
                                          (reload ? " after Clear" : " as built");
                ASSERT_EQ(c.defaults.count(field.name), 1u) << where;
                const int expected = c.defaults.at(field.name);
                EXPECT_EQ(field.initial, expected) << where;
                EXPECT_EQ(field.value, expected) << where;
                // Clear makes a field loaded as read-only writable again.
                EXPECT_TRUE(!reload || !field.readOnly) << where;
            }
        }
    }
}

}  // namespace TESTSUPPORT
