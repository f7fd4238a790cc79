#pragma once

namespace PLATFORM {

// Which of the standard descriptors the process was started without.
struct ClosedDescriptors {
    bool input = false;   // 0
    bool output = false;  // 1
    bool error = false;   // 2
};

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. A
// process started with one of them closed (some schedulers do that) would
// otherwise hand it to the first file or socket it opens, and whatever it
// writes to that stream would go there. Call it before anything opens a
// descriptor. `closed` tells which were closed. False when /dev/null cannot
// be opened: such a descriptor stays closed.
bool OpenClosedStandardDescriptors(ClosedDescriptors& closed);

}  // namespace PLATFORM
