#pragma once

#include <cstdint>

namespace PLATFORM {

// The private profile (INI file) functions, with the buffer rules Windows
// documents. File names are path texts as the system spells them; they are
// translated by NativePath. A missing or unreadable file reads as empty.

// Copies the entries of section into buffer as "key=value" texts (a line
// without "=" as its key alone), each ended by a NUL, the list ended by a
// second NUL. Returns the characters copied without the final NUL. When the
// list does not fit, the last text is cut, two NULs end the buffer and the
// result is size - 2.
std::uint32_t GetPrivateProfileSectionA(const char* section, char* buffer, std::uint32_t size,
                                        const char* fileName);

// Copies the value of key in section, trimmed of blanks and of one pair of
// enclosing quotes, into buffer; when it is missing, the default text (null:
// empty) without its trailing blanks. A text that does not fit is cut to
// size - 1 characters. Returns the characters copied without the NUL.
std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultText, char* buffer, std::uint32_t size,
                                       const char* fileName);

// Sets key in section to text, creating the section and the file as needed;
// a null text deletes the key, a null key deletes the section. A file that
// needs no change is not written. False when the file could not be written,
// the section is null or a text holds a line break.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                const char* fileName);

}  // namespace PLATFORM
