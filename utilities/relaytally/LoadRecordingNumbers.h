#pragma once

#include <set>
#include <string>

// The "number" of every document of the collection, each read as the
// integer its text begins with (0 when it begins with none), ascending and
// without duplicates. Empty when the database cannot be reached.
std::set<int> LoadRecordingNumbers(const std::string& collection);
