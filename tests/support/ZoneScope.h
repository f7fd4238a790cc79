#pragma once

#include <ctime>

#include "support/EnvironmentScope.h"

namespace TESTSUPPORT {

// Sets the process's time zone (TZ, e.g. "EST5EDT" or "ABC+5") for one test
// and puts the caller's back when it goes out of scope, so that local-time
// results do not depend on the machine.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) : tz_("TZ", zone) { tzset(); }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

    void Set(const char* zone) {
        tz_.Set(zone);
        tzset();
    }

private:
    // Destroyed after tz_, so the zone is re-read once TZ is back.
    struct Reload {
        ~Reload() { tzset(); }
    } reload_;
    EnvironmentScope tz_;
};

}  // namespace TESTSUPPORT
