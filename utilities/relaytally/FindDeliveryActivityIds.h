#pragma once

#include <string>
#include <vector>

// The ids of the deliveries whose "timestamp" lies between from and to
// (17-digit time texts, both inclusive; an empty to means now, an empty
// from leaves the window open below), in ascending "timestamp" order, equal
// ones in the order the server sent them. Only deliveries that can be read
// by their id are listed. The upper bound comes first.
std::vector<std::string> FindDeliveryActivityIds(const std::string& to, const std::string& from);
