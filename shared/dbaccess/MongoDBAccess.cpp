#include "dbaccess/MongoDBAccess.h"

#include "Poco/Exception.h"
#include "dbaccess/ConnectionPool.h"
#include "dbaccess/DatabaseName.h"
#include "runtime/Trace.h"

namespace DBACCESS {

namespace {

// How long a borrow waits for a connection to come back at the pool's peak.
const long BorrowWaitMilliseconds = 2000;

}  // namespace

MongoDBAccess::MongoDBAccess() = default;

MongoDBAccess::MongoDBAccess(const MongoDBAccess& /*other*/)
{
}

MongoDBAccess& MongoDBAccess::operator=(const MongoDBAccess& /*other*/)
{
    return *this;
}

MongoDBAccess::~MongoDBAccess() = default;

Poco::MongoDB::Connection::Ptr MongoDBAccess::GetConnection()
{
    lastError_.clear();
    if (DatabaseName.empty())
        return Poco::MongoDB::Connection::Ptr();
    try
    {
        return ConnectionPool.borrowObject(BorrowWaitMilliseconds);
    }
    catch (const Poco::Exception& e)
    {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
    return Poco::MongoDB::Connection::Ptr();
}

void MongoDBAccess::ReleaseConnection(Poco::MongoDB::Connection::Ptr connection)
{
    if (connection.isNull())
        return;
    try
    {
        ConnectionPool.returnObject(connection);
    }
    catch (const Poco::Exception& e)
    {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
}

void MongoDBAccess::DiscardConnection(Poco::MongoDB::Connection::Ptr connection)
{
    if (connection.isNull())
        return;
    try
    {
        connection->disconnect();
    }
    catch (const Poco::Exception& e)
    {
        lastError_ = e.displayText();
        TraceMessage(lastError_);
    }
}

const std::string& MongoDBAccess::LastError() const
{
    return lastError_;
}

}  // namespace DBACCESS
