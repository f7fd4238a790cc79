#include "relaytally/DeliveryCodeNames.h"

#include "reportframe/CodeNames.h"

namespace {

const char* const kActivityNames[] = {
    nullptr,
    "Scheduled",
    "Voice message",
    "Listened",
    "Saved",
    "Deleted",
    "Expired",
    "Cancelled",
    "No Answer",
    "Callout max attempts",
    "Deleted by checkout",
};

const char* const kTypeNames[] = {
    "Message",
    "Callout",
    "Checkout Message",
    "Wellness Check",
};

}  // namespace

std::string DeliveryActivityName(int code) { return CodeName(kActivityNames, code); }

std::string DeliveryTypeName(int code) { return CodeName(kTypeNames, code); }
