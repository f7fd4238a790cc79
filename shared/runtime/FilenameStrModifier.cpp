#include "runtime/FilenameStrModifier.h"

#include "runtime/ByteSet.h"
#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilenameStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                       bool& changed) const {
    // The backslash itself is no file-name character and goes with the filter.
    const std::string::size_type lastBackslash = newText.rfind('\\');
    static const ByteSet kept(kFilenameCharacters);
    if (lastBackslash == std::string::npos)
        return ApplyKeeping(newText, kept, currentText, changed);
    return ApplyKeeping(newText.substr(lastBackslash), kept, currentText, changed);
}

}  // namespace CORVANE
