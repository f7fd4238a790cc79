#include "runtime/FilepathStrModifier.h"

#include "runtime/ByteSet.h"
#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilepathStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                       bool& changed) const {
    static const ByteSet kept(kFilepathCharacters);
    return ApplyKeeping(newText, kept, currentText, changed);
}

}  // namespace CORVANE
