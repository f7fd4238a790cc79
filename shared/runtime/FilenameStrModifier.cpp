#include "runtime/FilenameStrModifier.h"

#include "runtime/ModifierCharacterSets.h"

namespace CORVANE {

std::string FilenameStrModifier::Apply(const std::string& newText, const std::string& currentText,
                                       bool& changed) const
{
    // The backslash itself is no file-name character and goes with the filter.
    const std::string::size_type lastBackslash = newText.rfind('\\');
    const std::string name =
        lastBackslash == std::string::npos ? newText : newText.substr(lastBackslash);
    return StrModifier::Apply(KeepOnly(name, FilenameCharacters), currentText, changed);
}

}  // namespace CORVANE
