#include "dbaccess/DatabaseTimeLimits.h"

#include "Poco/NumberFormatter.h"

namespace DBACCESS {

std::string LimitText(const Poco::Timespan& limit) {
    const Poco::Timespan::TimeDiff milliseconds = limit.totalMilliseconds();
    if (milliseconds % 1000 == 0) return Poco::NumberFormatter::format(milliseconds / 1000) + " s";
    return Poco::NumberFormatter::format(static_cast<double>(milliseconds) / 1000.0, 1) + " s";
}

}  // namespace DBACCESS
