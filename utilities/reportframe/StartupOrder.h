#pragma once

#include "dbaccess/StartupOrder.h"

// The report strings are built after the shared constants and before the
// database layer's connection pool.
#define QX_STEP_REPORT_STRINGS (QX_STEP_CONNECTION_POOL - 1)

#if QX_STEP_REPORT_STRINGS <= QX_STEP_SHARED_CONSTANTS
#error "the report strings' step must come after the shared constants"
#endif
