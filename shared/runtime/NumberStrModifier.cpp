#include "runtime/NumberStrModifier.h"

#include "runtime/ByteSet.h"
#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string NumberStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                     bool& changed) const {
    static const ByteSet kept(kNumberCharacters);
    return ApplyKeeping(newText, kept, currentText, changed);
}

}  // namespace CORVANE
