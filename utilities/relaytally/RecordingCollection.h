#ifndef RELAYTALLY_RECORDINGCOLLECTION_H
#define RELAYTALLY_RECORDINGCOLLECTION_H

#include <string>

// The collection of the stored recordings, "recording"; each call returns a
// new string.
std::string RecordingCollection();

#endif
