#pragma once

#include <string>

namespace DBACCESS {

// The SetField step of a record: loads text into the first of fields whose
// field name is name (LoadFromString, so its changed flag stays clear).
// Returns whether one was.
template <typename... Fields>
bool LoadNamedField(const std::string& name, const std::string& text, Fields&... fields) {
    return ((name == fields.name ? (fields.LoadFromString(text), true) : false) || ...);
}

// The SetField step of the delivery and recording records, which take a
// document's values as ordinary assignments (FromString) rather than as
// loads: a number field whose text is no number becomes 0 instead of
// keeping its default, and the changed flag follows the value. Assigns text
// to the first of fields whose field name is name; returns whether one was.
template <typename... Fields>
bool AssignNamedField(const std::string& name, const std::string& text, Fields&... fields) {
    return ((name == fields.name ? (fields.FromString(text), true) : false) || ...);
}

// The Clear step of a record: every field back to the state its
// constructor built it in (the default value, writable, not changed). Names,
// limits and case conversions stay; they never change after construction.
template <typename... Fields>
void ResetFields(Fields&... fields) {
    ((fields.value = fields.initialValue, fields.changed = false, fields.readOnly = false), ...);
}

}  // namespace DBACCESS
