#pragma once

#include <string>

// Labels of the codes of a wake-up event, each passed through the report
// label table.

// What was done ("action") and how it ended ("result"). A code outside its
// table gives "Unknown (code)", which is not looked up.
std::string WakeupActionName(int code);
std::string WakeupResultName(int code);

// Who asked for it ("source"). Source 3 has no name, and it and every code
// outside the table are written as the bare number ("3", "-1", "12").
std::string WakeupSourceName(int code);
