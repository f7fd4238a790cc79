#include "platform/StandardDescriptors.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/ForkedChild.h"

namespace {

// Whether the descriptor is open on /dev/null.
bool OnDevNull(int fd) {
    struct stat open {};
    struct stat null {};
    return ::fstat(fd, &open) == 0 && ::stat("/dev/null", &null) == 0 && S_ISCHR(open.st_mode) &&
           open.st_rdev == null.st_rdev;
}

int OpenDescriptors() {
    DIR* folder = ::opendir("/proc/self/fd");
    int count = 0;
    while (folder != nullptr && ::readdir(folder) != nullptr) {
        ++count;
    }
    if (folder != nullptr) {
        ::closedir(folder);
    }
    return count;
}

// Each closed descriptor is filled, alone or with others, whether it is the
// lowest free one (open returns it) or has to be moved into place; the open
// ones are left as they are.
TEST(StandardDescriptorsTest, EveryClosedOneIsOpenOnDevNullAfterwards) {
    const struct {
        bool input, output, error;
    } cases[] = {
        {true, false, false}, {false, true, false}, {false, false, true},
        {true, false, true},  {true, true, true},
    };
    for (const auto& c : cases) {
        const bool closed[] = {c.input, c.output, c.error};
        TESTSUPPORT::ForkedChild child([&](TESTSUPPORT::ForkedChild&) {
            struct stat before[3]{};
            const int descriptors = OpenDescriptors();
            for (int fd = 0; fd < 3; ++fd) {
                if (closed[fd]) {
                    ::close(fd);
                } else {
                    ::fstat(fd, &before[fd]);
                }
            }
            PLATFORM::ClosedDescriptors found;
            if (!PLATFORM::OpenClosedStandardDescriptors(found)) {
                return 1;
            }
            if (found.input != c.input || found.output != c.output || found.error != c.error) {
                return 2;
            }
            for (int fd = 0; fd < 3; ++fd) {
                struct stat after {};
                if (closed[fd] ? !OnDevNull(fd)
                               : ::fstat(fd, &after) != 0 || after.st_ino != before[fd].st_ino) {
                    return 10 + fd;
                }
            }
            // Nothing else was left open on the way.
            return OpenDescriptors() == descriptors ? 0 : 3;
        });
        EXPECT_EQ(child.Join(), 0)
            << "closed: " << c.input << c.output << c.error
            << " (1: failed, 2: wrong report, 3: a descriptor left open, 1x: descriptor x)";
    }
}

}  // namespace
