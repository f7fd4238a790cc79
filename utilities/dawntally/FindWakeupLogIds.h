#pragma once

#include <map>
#include <string>

// The "_id" text of every event of collection whose "timestamp" text lies
// between lower and upper (text order, both inclusive; an empty bound
// leaves that side open), mapped to its "wakeupid" text, both trimmed and
// ordered by the id. An event without a "wakeupid" is not listed. No
// connection gives an empty map; a library exception (a connection lost in
// the middle of the reply) passes on.
std::map<std::string, std::string> FindWakeupLogIds(const std::string& lower,
                                                    const std::string& upper,
                                                    const std::string& collection);
