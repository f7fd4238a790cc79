#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// Printable ASCII without the double quote and the backquote.
// Every other byte is deleted from a proposal before the base rule runs.
class SafeStrModifier : public StrModifier {
public:
    SafeStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
