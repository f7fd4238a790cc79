// glibc guards its time-zone state (tzset, localtime_r) with an internal lock
// that ThreadSanitizer cannot see, so the trace writer and the main thread
// reading the local clock at once look like a race inside glibc.
extern "C" const char* __tsan_default_suppressions() { return "race:tzset_internal\n"; }
