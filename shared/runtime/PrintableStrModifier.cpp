#include "runtime/PrintableStrModifier.h"

#include "runtime/ByteSet.h"
#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string PrintableStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                        bool& changed) const {
    static const ByteSet kept(kSafeCharacters);
    return ApplyKeeping(newText, kept, currentText, changed);
}

}  // namespace CORVANE
