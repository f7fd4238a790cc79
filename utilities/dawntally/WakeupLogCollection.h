#pragma once

#include <string>

// The collection of the wake-up events, "wakeuplog"; each call returns a new
// string.
std::string WakeupLogCollection();
