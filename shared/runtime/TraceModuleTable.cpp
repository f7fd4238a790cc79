#include "runtime/TraceModuleTable.h"

// 1100 to 1299 stay free: those identities are named HOSTELn and PMSn.
const TraceModule TraceModuleTable[] = {
    {1000, "STAYTALLY", "GUESTREPORT", "Guest activity report", 0, 0, 8},
    {1001, "RELAYTALLY", "DELIVERYREPORT", "Message delivery report", 0, 0, 8},
    {1002, "DAWNTALLY", "WAKEUPREPORT", "Wake-up call report", 0, 0, 8},
    {1010, "MAILSENDER", "MAILQUEUE", "Mail task sender", 1, 0, 2},
    {1020, "WAKEUPSVC", "", "Wake-up call service", 1, 1, 3},
    {1030, "DELIVERYSVC", "MDS", "Scheduled message delivery service", 1, 1, 3},
    {1040, "MBACTIVITY", "", "Mailbox activity recorder", 1, 0, 4},
    {1050, "DBMONITOR", "", "Database monitor", 1, 0, 5},
    {1300, "PMSLINK", "PMSGATEWAY", "Property management system link", 1, 1, 6},
    {1400, "CALLROUTER", "ROUTER", "Call router", 1, 1, 1},
    {0xFFFFFFFFu, "UNKNOWN", "", "Module not listed", 0, 0, 0},
};

const std::size_t kTraceModuleTableSize = sizeof TraceModuleTable / sizeof TraceModuleTable[0];
