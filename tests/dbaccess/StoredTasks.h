// The mail tasks as the test server stores them, for the tests of the task
// writers.

#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <Poco/MongoDB/Document.h>

#include "support/TestServer.h"

// The documents of collection as the server sends them back.
inline std::vector<Poco::MongoDB::Document::Ptr> StoredTasks(const std::string& collection) {
    Poco::MongoDB::Connection connection(TESTSUPPORT::TestServer::kHost,
                                         TESTSUPPORT::TestServer::kPort);
    Poco::MongoDB::Cursor cursor("kelden", collection);
    return cursor.next(connection).documents();
}

// A 17-digit database time text.
inline bool IsDbTime(const std::string& text) {
    return text.size() == 17 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) != 0;
           });
}
