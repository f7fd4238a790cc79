#pragma once

#include <string>

// Traces a database error caught by the database layer as one line
// "<function>(<line>) DBError: <text>", e.g.
// "DBACCESS::TaskDB::RealWrite(548) DBError: Connection reset by peer".
void LogDBError(const std::string& function, int line, const std::string& text);
