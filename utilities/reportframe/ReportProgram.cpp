#include "reportframe/ReportProgram.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <streambuf>

#include <Poco/Exception.h>

#include "platform/RunFiles.h"
#include "platform/StandardDescriptors.h"
#include "reportframe/Banner.h"
#include "reportframe/CommandLine.h"
#include "reportframe/EscapedText.h"
#include "reportframe/MailTaskTexts.h"
#include "reportframe/ReportFailure.h"
#include "reportframe/ReportStrings.h"
#include "runtime/CaseConversion.h"

namespace {

const int kDefaultHours = 24;

const char* const kExampleEmails = "frontdesk@example.com;manager@example.com";
const char* const kExampleEmail = "manager@example.com";

// The first entry of a key, or the empty text.
std::string FirstValue(const OptionMap& options, const std::string& key) {
    const auto found = options.find(key);
    return found == options.end() ? std::string() : found->second;
}

// atol's reading of the value (leading blanks, sign, digits; anything else
// ends it), except that a number past the range of int is not cut into some
// other value: too large is the longest window, too small the default.
int ReportHours(const OptionMap& options) {
    if (options.find("HOURS") == options.end()) {
        return kDefaultHours;
    }
    const std::string text = FirstValue(options, "HOURS");
    const long hours = std::strtol(text.c_str(), nullptr, 10);
    if (hours < 1) {
        return kDefaultHours;
    }
    return hours > kMaxReportHours ? kMaxReportHours : static_cast<int>(hours);
}

void PrintUsage(const ReportProgram& program) {
    const std::string& name = program.name;
    std::cout << FormatBanner(CORVANE::ConvertCase(name, CORVANE::kCaseConversionUpper))
              << std::endl;
    std::cout << program.description << std::endl;
    std::cout << "-hours    Number of hours to report on. Default is 24." << std::endl;
    std::cout << "-email    Optional email addresses to send report to. Quorix must be enabled for "
                 "Postwick. "
                 "Seperate email addresses by a ;"
              << std::endl;
    std::cout << "-file     Optional file to write the report to. If file is specified along with "
                 "email address "
                 "file will not be automatically deleted after being sent."
              << std::endl;
    std::cout << "\r\nExamples" << std::endl;
    std::cout << "  " << name << " -hours 5 -email " << kExampleEmails << std::endl;
    std::cout << "  " << name << " -file \"c:\\temp\\report.csv\" -email " << kExampleEmail
              << std::endl;
    std::cout << "  " << name << " > \"c:\\test.csv\"" << std::endl;
}

void RunBuilder(const ReportProgram& program, const OptionMap& options) {
    const std::string emailList = FirstValue(options, "EMAIL");
    if (!emailList.empty()) {
        const std::string refusal = EmailListRefusal(emailList);
        if (!refusal.empty()) {
            throw ReportFailure(refusal);
        }
    }
    LoadReportStrings();
    program.builder(ReportHours(options), emailList, FirstValue(options, "FILE"));
}

// Stands in for a standard output the process was started without: every
// write to it fails, as it would on the closed descriptor.
class ClosedOutput : public std::streambuf {
protected:
    int_type overflow(int_type) override {
        errno = EBADF;
        return traits_type::eof();
    }
};

// Puts the stand-in under std::cout for the run.
class ClosedOutputScope {
public:
    explicit ClosedOutputScope(bool closed)
        : previous_(closed ? std::cout.rdbuf(&closed_) : nullptr) {}
    ~ClosedOutputScope() {
        if (previous_ != nullptr) {
            std::cout.rdbuf(previous_);
        }
    }
    ClosedOutputScope(const ClosedOutputScope&) = delete;
    ClosedOutputScope& operator=(const ClosedOutputScope&) = delete;

private:
    ClosedOutput closed_;
    std::streambuf* previous_;
};

// One line, whatever the failure echoes.
int Fail(const ReportProgram& program, const std::string& what) {
    std::cerr << program.name << ": " << EscapeControls(what) << std::endl;
    return 1;
}

}  // namespace

int RunReportProgram(const ReportProgram& program, int argc, char** argv) {
    PLATFORM::ClosedDescriptors closed;
    if (!PLATFORM::OpenClosedStandardDescriptors(closed)) {
        return Fail(program, "cannot open /dev/null in place of a closed standard descriptor");
    }
    PLATFORM::RemoveRunFilesWhenStopped();
    // Output meant for a closed standard output would be lost: its writes
    // fail, and so does the run that makes them.
    const ClosedOutputScope closedOutput(closed.output);
    OptionMap options;
    ParseCommandLine(argc, argv, &options);
    try {
        if (options.count("?") != 0) {
            PrintUsage(program);
        } else {
            RunBuilder(program, options);
        }
    } catch (const Poco::Exception& e) {
        return Fail(program, e.displayText());
    } catch (const std::exception& e) {
        return Fail(program, e.what());
    } catch (...) {
        return Fail(program, "unknown failure");
    }
    // A report that never reached the console is no success.
    if (!std::cout.flush()) {
        return Fail(program, "cannot write to standard output");
    }
    return 0;
}
