#include "runtime/FilepathStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilepathStrModifier::Apply(const std::string& newText, const std::string& currentText,
                              bool& changed) const
{
    return StrModifier::Apply(KeepOnly(newText, FilepathCharacters), currentText, changed);
}

}  // namespace CORVANE
