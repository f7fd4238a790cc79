#pragma once

#include <string>

// The collection of the stored recordings, "recording"; each call returns a
// new string.
std::string RecordingCollection();
