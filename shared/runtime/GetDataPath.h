#pragma once

#include <string>

// The product's data folder: "DataLocation" of the uninstall key "kelden"
// (32-bit registry view), or C:\vs when that is missing or empty. When
// subfolder is not empty it is appended, then a, then b, then c, each with a
// leading backslash unless it has one; a is used only with a subfolder, b and
// c only with a as well. Nothing is trimmed from the registry text, so a
// value ending in a backslash and a subfolder beginning with one give two.
void GetDataPath(std::string& out, const std::string& subfolder, const std::string& a = "",
                 const std::string& b = "", const std::string& c = "");
