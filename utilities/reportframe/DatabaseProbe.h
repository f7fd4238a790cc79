#pragma once

#include <string>

// Why the database cannot be reached, e.g. "cannot reach the database:
// Connection refused: 127.0.0.1:27017"; empty when a connection could be
// had. A report builder asks once before its reads. When the database
// cannot be reached, no connection is tried again in this process (the
// reads and the mail task find none at once, with this reason), and the run
// is then ended as a failure after its (empty) report is written.
std::string DatabaseUnreachableReason();
