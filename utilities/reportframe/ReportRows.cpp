#include "reportframe/ReportRows.h"

#include <algorithm>

void PutInKeyOrder(ReportRows& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ReportRow& a, const ReportRow& b) { return a.key < b.key; });
}
