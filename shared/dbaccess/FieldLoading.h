#ifndef DBACCESS_FIELDLOADING_H
#define DBACCESS_FIELDLOADING_H

#include <string>

namespace DBACCESS {

// The SetField step of a record: loads text into the first of fields whose
// field name is name (LoadFromString, so its changed flag stays clear).
// Returns whether one was.
template <typename... Fields>
bool LoadNamedField(const std::string& name, const std::string& text, Fields&... fields)
{
    return ((name == fields.name ? (fields.LoadFromString(text), true) : false) || ...);
}

}  // namespace DBACCESS

#endif
