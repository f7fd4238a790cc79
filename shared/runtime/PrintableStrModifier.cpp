#include "runtime/PrintableStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string PrintableStrModifier::Apply(const std::string& newText, const std::string& currentText,
                              bool& changed) const
{
    return StrModifier::Apply(KeepOnly(newText, SafeCharacters), currentText, changed);
}

}  // namespace CORVANE
