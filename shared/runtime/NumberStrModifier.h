#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// Decimal digits only.
// Every other byte is deleted from a proposal before the base rule runs.
class NumberStrModifier : public StrModifier {
public:
    NumberStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
