// A code-name table compared whole: a misspelt name anywhere in it shows,
// with its code.

#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace TESTSUPPORT {

// Expects name(first + i) to be names[i] for every i.
inline void ExpectCodeNames(std::string (*name)(int), int first,
                            const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int code = first + static_cast<int>(i);
        EXPECT_EQ(name(code), names[i]) << "code " << code;
    }
}

}  // namespace TESTSUPPORT
