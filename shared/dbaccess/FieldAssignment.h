#ifndef DBACCESS_FIELDASSIGNMENT_H
#define DBACCESS_FIELDASSIGNMENT_H

#include <string>

namespace DBACCESS {

// The SetField step of the delivery and recording records, which take a
// document's values as ordinary assignments (FromString) rather than as
// loads: a number field whose text is no number becomes 0 instead of
// keeping its default, and the changed flag follows the value. Assigns text
// to the first of fields whose field name is name; returns whether one was.
template <typename... Fields>
bool AssignNamedField(const std::string& name, const std::string& text, Fields&... fields)
{
    return ((name == fields.name ? (fields.FromString(text), true) : false) || ...);
}

}  // namespace DBACCESS

#endif
