#ifndef DAWNTALLY_WAKEUPLOGCOLLECTION_H
#define DAWNTALLY_WAKEUPLOGCOLLECTION_H

#include <string>

// The collection of the wake-up events, "wakeuplog"; each call returns a new
// string.
std::string WakeupLogCollection();

#endif
