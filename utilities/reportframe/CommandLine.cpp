#include "reportframe/CommandLine.h"

#include <cstring>

#include "runtime/CaseConversion.h"

namespace {

// Whether the argument after a "-" or "/" option is an option of its own
// rather than that option's value. An argument that begins with "/" and
// holds a further "/" is an absolute path here ("-file /tmp/r.csv"), never
// an option: no option key holds a slash.
bool IsOptionArgument(const char* text) {
    if (text[0] == '-') {
        return true;
    }
    return text[0] == '/' && std::strchr(text + 1, '/') == nullptr;
}

}  // namespace

int ParseCommandLine(int argc, char** argv, OptionMap* options) {
    if (options == nullptr) {
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string argument(argv[i]);
        const std::size_t at = argument.find_first_of("-/~");
        if (at == std::string::npos) {
            continue;
        }
        const char marker = argument[at];
        const std::string key = CORVANE::ConvertCase(
            argument.substr(0, at) + argument.substr(at + 1), CORVANE::kCaseConversionUpper);
        std::string value;
        if (i + 1 < argc && (marker == '~' || !IsOptionArgument(argv[i + 1]))) {
            value = argv[++i];
        }
        options->emplace(key, value);
    }
    return static_cast<int>(options->size());
}
