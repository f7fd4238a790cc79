#pragma once

#include <string>

// Labels of the codes of a guest activity record, each passed through the
// report label table. A code outside its table gives "Unknown (code)", which
// is not looked up.
std::string GuestActivityName(int code);
std::string GuestMethodName(int code);
std::string GuestResultName(int code);
