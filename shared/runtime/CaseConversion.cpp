#include "runtime/CaseConversion.h"

#include "Poco/String.h"

namespace CORVANE {

std::string ConvertCase(const std::string& text, std::int32_t conversion) {
    switch (conversion) {
        case kCaseConversionLower:
            return Poco::toLower(text);
        case kCaseConversionUpper:
            return Poco::toUpper(text);
        default:
            return text;
    }
}

}  // namespace CORVANE
