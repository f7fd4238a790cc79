#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// Characters of a Windows file path: letters, digits, the backslash, the
// colon and " ~!.()[]_-&"; no slash.
// Every other byte is deleted from a proposal before the base rule runs.
class FilepathStrModifier : public StrModifier {
public:
    FilepathStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
