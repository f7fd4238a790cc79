#include "reportframe/CommandLine.h"

#include "runtime/CaseConversion.h"

namespace {

bool StartsWithDashOrSlash(const char* text) {
    return text[0] == '-' || text[0] == '/';
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
        const std::string key =
            CORVANE::ConvertCase(argument.substr(0, at) + argument.substr(at + 1), CORVANE::CaseConversionUpper);
        std::string value;
        if (i + 1 < argc && (marker == '~' || !StartsWithDashOrSlash(argv[i + 1]))) {
            value = argv[++i];
        }
        options->emplace(key, value);
    }
    return static_cast<int>(options->size());
}
