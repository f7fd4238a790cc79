#pragma once

#include <array>
#include <string>

namespace CORVANE {

// Membership table of a set of bytes, so that a filter is one pass over a
// text whatever the size of the set.
class ByteSet {
public:
    explicit ByteSet(const std::string& members) : member_{} {
        for (char c : members) member_[static_cast<unsigned char>(c)] = true;
    }

    bool Contains(char c) const { return member_[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> member_;
};

}  // namespace CORVANE
