#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// The same characters as SafeStrModifier, as a type of its own.
// Every other byte is deleted from a proposal before the base rule runs.
class PrintableStrModifier : public StrModifier {
public:
    PrintableStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
