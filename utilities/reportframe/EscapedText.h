#pragma once

#include <string>
#include <string_view>

// The text with every ASCII control character written out, so that a
// message echoing what a user gave (an option, a path, an address) or what
// a server said stays on one line and sends no control sequence to the
// terminal: "\n", "\r" and "\t" as such, the others as "\x1b" and the like.
// Every other byte (a backslash of a Windows path, UTF-8) stays as it is.
std::string EscapeControls(std::string_view text);
