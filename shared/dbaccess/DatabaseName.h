#ifndef DBACCESS_DATABASENAME_H
#define DBACCESS_DATABASENAME_H

#include <string>

namespace DBACCESS {

// The database of every read, search and write: "kelden". Nothing in the
// programs assigns it; MongoDBAccess::GetConnection refuses to borrow while
// it is empty.
extern std::string DatabaseName;

}  // namespace DBACCESS

#endif
