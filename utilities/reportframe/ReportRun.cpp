#include "reportframe/ReportRun.h"

#include "Poco/Exception.h"

#include "reportframe/DatabaseProbe.h"
#include "reportframe/ReportDelivery.h"
#include "reportframe/ReportFailure.h"

void RunReport(ReportContent& report, const std::function<void(ReportContent&)>& collectRows,
               const std::string& emailList, const std::string& filePath) {
    try {
        const std::string databaseFailure = DatabaseUnreachableReason();
        collectRows(report);
        PutInKeyOrder(report.rows);
        DeliverReport(report, emailList, filePath, databaseFailure);
    } catch (const Poco::Exception& e) {
        throw ReportFailure("database error: " + e.displayText());
    }
}
