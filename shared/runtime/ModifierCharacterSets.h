#ifndef RUNTIME_MODIFIERCHARACTERSETS_H
#define RUNTIME_MODIFIERCHARACTERSETS_H

namespace CORVANE {

// The characters each derived modifier keeps.

// Printable ASCII (0x20-0x7E) except the double quote and the backquote.
constexpr char SafeCharacters[] =
    " '~!@#$%^&*\\/()_+-=[]{}:;,.<>|?"
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char NumberCharacters[] = "0123456789";

constexpr char FilenameCharacters[] =
    " ~!.()[]_-0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char FilepathCharacters[] =
    " ~!:.\\()[]_-&0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char DTMFCharacters[] = "0123456789abcdABCD*#";

}  // namespace CORVANE

#endif
