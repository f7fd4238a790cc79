// glibc guards its time-zone state (tzset, localtime_r) with an internal lock
// that ThreadSanitizer cannot see, so the trace writer and the main thread
// reading the local clock at once look like a race inside glibc. libzmq is
// not instrumented either: its sockets hand messages to its I/O thread
// through lock-free pipes and eventfd signals that ThreadSanitizer cannot
// see, so every message looks like a race inside the library.
extern "C" const char* __tsan_default_suppressions() {
    return "race:tzset_internal\n"
           "race:libzmq.so\n";
}
