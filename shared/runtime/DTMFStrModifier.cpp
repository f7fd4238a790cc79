#include "runtime/DTMFStrModifier.h"

#include "runtime/ByteSet.h"
#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string DTMFStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                   bool& changed) const {
    static const ByteSet kept(kDTMFCharacters);
    return ApplyKeeping(newText, kept, currentText, changed);
}

}  // namespace CORVANE
