#include "runtime/FilenameStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilenameStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                       bool& changed) const {
    // Built once: KeepOnly takes the set as a string.
    static const std::string kept(kFilenameCharacters);
    // The backslash itself is no file-name character and goes with the filter.
    const std::string::size_type lastBackslash = newText.rfind('\\');
    if (lastBackslash == std::string::npos)
        return StrModifier::Apply(KeepOnly(newText, kept), currentText, changed);
    return StrModifier::Apply(KeepOnly(newText.substr(lastBackslash), kept), currentText, changed);
}

}  // namespace CORVANE
