#pragma once

namespace CORVANE {

// The characters each derived modifier keeps.

// Printable ASCII (0x20-0x7E) except the double quote and the backquote.
constexpr char kSafeCharacters[] =
    " '~!@#$%^&*\\/()_+-=[]{}:;,.<>|?"
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char kNumberCharacters[] = "0123456789";

constexpr char kFilenameCharacters[] =
    " ~!.()[]_-0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char kFilepathCharacters[] =
    " ~!:.\\()[]_-&0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr char kDTMFCharacters[] = "0123456789abcdABCD*#";

}  // namespace CORVANE
