#pragma once

#include <cstdint>
#include <string>

// Log identity stamped on every item that Trace queues. 0 (the default) means
// "no log": the writer thread drops such items without writing them anywhere.
extern std::uint32_t TraceLogId;

// Queues prefix + message for the trace writer thread. Never blocks on the
// writer and never reports an outcome; an empty message is ignored.
void Trace(const std::string& message, const std::string& prefix);

// Trace with an empty prefix.
void TraceMessage(const std::string& message);
