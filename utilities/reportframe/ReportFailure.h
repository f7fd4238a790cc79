#pragma once

#include <stdexcept>
#include <string>

// A report that cannot be produced.
//
// Contract between the report builders and the program frame: a builder that
// cannot produce its report throws ReportFailure (any std::exception does the
// same job) and returns normally otherwise. The frame catches every exception
// that leaves the builder, writes one line "<program>: <what()>" to standard
// error and ends the process with exit code 1; a run whose builder returned
// ends with 0. So what() holds only the text after "<program>: ", for example
// "cannot open report file /tmp/x.csv", with no program name and no line end.
// For a Poco::Exception the frame prints its displayText() instead of what(),
// which holds only the exception's class name.
class ReportFailure : public std::runtime_error {
public:
    explicit ReportFailure(const std::string& what) : std::runtime_error(what) {}
};
