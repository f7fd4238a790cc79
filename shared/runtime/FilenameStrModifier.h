#pragma once

#include "runtime/StrModifier.h"

namespace CORVANE {

// A bare file name: a proposal is cut to the part after its last backslash,
// then every byte that is not a letter, a digit or one of " ~!.()[]_-" is
// deleted (a slash is no separator and goes too) before the base rule runs.
class FilenameStrModifier : public StrModifier {
public:
    FilenameStrModifier() = default;

    std::string Apply(const std::string& newText, const std::string& currentText,
                      bool& changed) const override;
};

}  // namespace CORVANE
