#pragma once

#include <string>

namespace DBACCESS {

// The database of every read, search and write: "kelden". One of the shared
// constants: built in their start-up step, before every other process-wide
// object, and destroyed after them. Nothing in the programs assigns it;
// MongoDBAccess::GetConnection refuses to borrow while it is empty.
extern std::string DatabaseName;

}  // namespace DBACCESS
