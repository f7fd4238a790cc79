#include "runtime/FilepathStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilepathStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                       bool& changed) const {
    // Built once: KeepOnly takes the set as a string.
    static const std::string kept(kFilepathCharacters);
    return StrModifier::Apply(KeepOnly(newText, kept), currentText, changed);
}

}  // namespace CORVANE
