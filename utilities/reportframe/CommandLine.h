#pragma once

#include <map>
#include <string>

// Options by upper-cased key; equal keys keep command-line order, so the
// first entry of a key is the option's first occurrence.
using OptionMap = std::multimap<std::string, std::string>;

// Adds an entry for every argv[1..argc-1] that holds a marker "-", "/" or
// "~": the key is the argument without its first marker, upper-cased. The
// value is the next argument, which is then consumed; after "-" or "/" only
// when it does not begin with "-" or "/" (or is empty) or is an absolute
// path (begins with "/" and holds another "/"), after "~" always.
// Returns the number of entries in the map, 0 when options is null.
int ParseCommandLine(int argc, char** argv, OptionMap* options);
