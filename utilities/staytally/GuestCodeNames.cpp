#include "staytally/GuestCodeNames.h"

#include "reportframe/CodeNames.h"

namespace {

const char* const kActivityNames[] = {
    nullptr,
    "MWI on",
    "MWI off",
    "Wakeup call",
    "Notification",
    "Alert operator",
    "EAS",
    "Callout",
    "Login",
    "Logout",
    "Created",
    "Deleted",
    "Message sent",
    "Message delivered",
    "Message listen",
    "Message deleted",
    "Message moved",
    "Message recovered",
    "Message forward",
    "Message reply",
    "Message saved",
    "Check in",
    "Check out",
    "Guest update",
    "Wakeup scheduled",
    "Wakeup cancelled",
    "Text count",
    "Moved",
    "Password change",
    "PBX change",
    "Room purge",
    "Message delivery",
    "Message notification",
    "Wellness check",
    "Mailbox saved",
    "Message scheduled",
};

const char* const kMethodNames[] = {
    "N/A",      "Telephone", "Serial",         "SIP",      "SIPX",         "SIPG",
    "TAPI",     "CLAN",      "Other",          "PMS",      "Quillon",      "Guest",
    "Phone",    "System",    "Cisco",          "HTTPPost", "IP Office",    "Metaswitch",
    "ShoreTel", "Siemens",   "Panasonic",      "PBX",      "ACM",          "Mitel",
    "RESTAPI",  "Email",     "Administration", "Template", "Switchbridge", "Message Delivery",
    "Wardly",
};

const char* const kResultNames[] = {
    "Success", "Answered", "Busy",           "Not answered", "No line", "No response",
    "Failed",  "Timeout",  "Not configured", "Voicemail",    "Email",
};

}  // namespace

std::string GuestActivityName(int code) { return CodeName(kActivityNames, code); }

std::string GuestMethodName(int code) { return CodeName(kMethodNames, code); }

std::string GuestResultName(int code) { return CodeName(kResultNames, code); }
