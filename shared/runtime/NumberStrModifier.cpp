#include "runtime/NumberStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string NumberStrModifier::Apply(const std::string& newText, const std::string& currentText,
                              bool& changed) const
{
    return StrModifier::Apply(KeepOnly(newText, NumberCharacters), currentText, changed);
}

}  // namespace CORVANE
