#include "runtime/DTMFStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string DTMFStrModifier::Apply(const std::string& newText, const std::string& currentText,
                              bool& changed) const
{
    return StrModifier::Apply(KeepOnly(newText, DTMFCharacters), currentText, changed);
}

}  // namespace CORVANE
