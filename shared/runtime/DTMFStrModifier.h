#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// The sixteen telephone keypad symbols: digits, a-d and A-D, star and hash.
// Every other byte is deleted from a proposal before the base rule runs.
class DTMFStrModifier : public StrModifier {
public:
    DTMFStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
