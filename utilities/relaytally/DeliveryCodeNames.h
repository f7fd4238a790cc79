#pragma once

#include <string>

// Labels of the codes of a delivery, each passed through the report label
// table. A code outside its table gives "Unknown (code)", which is not
// looked up.

// What happened to a delivery at a mailbox (an activity entry's "activity").
std::string DeliveryActivityName(int code);
// The kind of message (a delivery's "type").
std::string DeliveryTypeName(int code);
