#include "relaytally/RecordingCollection.h"

std::string RecordingCollection() { return "recording"; }
