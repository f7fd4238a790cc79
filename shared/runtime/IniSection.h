#pragma once

#include <map>
#include <set>
#include <string>

// The key names of an INI file section, read through a 4096-byte section
// buffer: a larger section loses the entries past the cut.
std::set<std::string> ReadIniSectionKeys(const std::string& file, const std::string& section);

// Splits a section buffer (NUL-ended "key=value" texts, a second NUL at the
// end, at most 4096 characters looked at) into keys and values, split at the
// first "=". A text without "=" is a key with an empty value; texts of one
// character are ignored; the first text of a key wins. Nothing is trimmed.
void ParseIniSection(std::map<std::string, std::string>& entries, const char* buffer);
