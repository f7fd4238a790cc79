#include "platform/KernelObjectName.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

using PLATFORM::PosixMutexObjectName;
using PLATFORM::PosixObjectName;

TEST(KernelObjectNameTest, GlobalNamesMapToEscapedPosixNames) {
    const struct {
        std::string kernelName;
        std::string posixName;
    } cases[] = {
        {"Global\\POSTWICK_SEND_QUEUE", "/POSTWICK_SEND_QUEUE"},
        {"Global\\LINE007", "/LINE007"},
        {"Global\\a.b-c_d", "/a.b-c_d"},
        {"Global\\a/b", "/a%2Fb"},
        {"Global\\a%2Fb", "/a%252Fb"},
        {"Global\\a\\b", "/a%5Cb"},
        {"Global\\a b", "/a%20b"},
        {std::string("Global\\a\0b", 10), "/a%00b"},
        {"Global\\\xC3\xA9", "/%C3%A9"},
        {"Global\\", ""},
        {"LINE007", ""},
        {"Local\\LINE007", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PosixObjectName(c.kernelName), c.posixName) << c.kernelName;
    }
}

TEST(KernelObjectNameTest, DifferentNamesNeverShareAnObject) {
    const std::string names[] = {"a/b",   "a%2Fb", "a\\b",  "a%5Cb",
                                 "a_b",   "a b",   "a%20b", std::string("a\0b", 3),
                                 "a%00b", "a",     "A"};
    std::set<std::string> semaphores;
    std::set<std::string> mutexes;
    for (const auto& name : names) {
        const std::string kernelName = "Global\\" + name;
        semaphores.insert(PosixObjectName(kernelName));
        mutexes.insert(PosixMutexObjectName(kernelName));
        EXPECT_EQ(PosixObjectName(kernelName).find('/', 1), std::string::npos) << name;
    }
    EXPECT_EQ(semaphores.size(), std::size(names));
    EXPECT_EQ(mutexes.size(), std::size(names));
    EXPECT_EQ(PosixMutexObjectName("Global\\LINE007"), "/mutex.LINE007");
}

}  // namespace
