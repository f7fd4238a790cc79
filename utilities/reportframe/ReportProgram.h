#pragma once

#include <string>

// Builds one report over the last `hours` hours (1 to kMaxReportHours), to the
// console, to filePath, and/or mailed to emailList. Failures leave it as
// exceptions (see ReportFailure.h).
using ReportBuilder = void (*)(int hours, const std::string& emailList,
                               const std::string& filePath);

// The longest window: hours x 3600 still fits the 32-bit seconds of a
// TimeSpan when computed in unsigned arithmetic (static_cast<unsigned>(hours) * 3600u).
constexpr int kMaxReportHours = 1193046;

// Everything in which the three report programs differ.
struct ReportProgram {
    std::string name;  // "staytally": usage examples, failure lines; upper-cased in the banner
    std::string description;  // first usage text
    ReportBuilder builder;
};

// The whole run of a report program: descriptors 0, 1 and 2 made to exist
// (on /dev/null when closed; a closed standard output still fails every
// write to it), options, then either the banner and usage (option "?") or
// the label table and the builder. An "-email" text with no address in it,
// or one the mail task cannot hold as it is, is refused before any work.
// Returns the exit code: 0, or 1 when the builder failed or standard output
// could not be written, after one line "<name>: <what failed>" on standard
// error (its control characters escaped). Stopped by SIGTERM, SIGINT or
// SIGHUP, the run removes the files it made and has not handed over, and
// ends by that signal (platform/RunFiles.h).
int RunReportProgram(const ReportProgram& program, int argc, char** argv);
