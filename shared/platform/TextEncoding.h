#pragma once

#include <string>

namespace PLATFORM {

// Windows tools save settings files either as ANSI/UTF-8 or as UTF-16LE
// with a byte order mark ("Unicode" in Notepad, every regedit export).
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le };

// Turns UTF-16LE bytes into UTF-8. An odd last byte is dropped and an
// unpaired surrogate becomes U+FFFD, so any input gives valid output.
std::string Utf16LeToUtf8(const std::string& bytes);

// Turns UTF-8 into UTF-16LE bytes; a malformed sequence becomes U+FFFD.
std::string Utf8ToUtf16Le(const std::string& text);

// Strips a byte order mark and gives the text as UTF-8 (or as the bytes
// it was, when it had no mark), with the encoding found.
std::string DecodeText(const std::string& bytes, TextEncoding& encoding);

// The bytes of text saved in the given encoding (mark included).
std::string EncodeText(const std::string& text, TextEncoding encoding);

}  // namespace PLATFORM
