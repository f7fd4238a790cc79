#include "dbaccess/MongoDBAccess.h"

#include <mutex>

#include "Poco/Exception.h"

#include "dbaccess/ConnectionPool.h"
#include "dbaccess/DatabaseName.h"
#include "runtime/Trace.h"

namespace DBACCESS {

namespace {

// How long a borrow waits for a connection to come back at the pool's peak.
const long kBorrowWaitMilliseconds = 2000;

std::mutex refusalMutex;
bool refusing = false;
std::string refusalReason;

// True, with the reason in reason, after RefuseConnections.
bool Refusing(std::string& reason) {
    const std::lock_guard<std::mutex> lock(refusalMutex);
    if (refusing) reason = refusalReason;
    return refusing;
}

}  // namespace

MongoDBAccess::MongoDBAccess() = default;

MongoDBAccess::MongoDBAccess(const MongoDBAccess& /*other*/) {}

MongoDBAccess& MongoDBAccess::operator=(const MongoDBAccess& /*other*/) { return *this; }

MongoDBAccess::~MongoDBAccess() = default;

GuardedConnection::Ptr MongoDBAccess::GetConnection() {
    lastError_.clear();
    if (DatabaseName.empty() || Refusing(lastError_)) return GuardedConnection::Ptr();
    try {
        return ConnectionPool.borrowObject(kBorrowWaitMilliseconds);
    } catch (const Poco::Exception& e) {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
    return GuardedConnection::Ptr();
}

void MongoDBAccess::ReleaseConnection(GuardedConnection::Ptr connection) {
    if (connection.isNull()) return;
    try {
        ConnectionPool.returnObject(connection);
    } catch (const Poco::Exception& e) {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
}

void MongoDBAccess::DiscardConnection(GuardedConnection::Ptr connection) {
    if (connection.isNull()) return;
    try {
        connection->disconnect();
        // A closed connection is not taken back: the pool drops it and its place.
        ConnectionPool.returnObject(connection);
    } catch (const Poco::Exception& e) {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
}

void MongoDBAccess::RefuseConnections(const std::string& reason) {
    const std::lock_guard<std::mutex> lock(refusalMutex);
    refusing = true;
    refusalReason = reason;
}

const std::string& MongoDBAccess::LastError() const { return lastError_; }

}  // namespace DBACCESS
