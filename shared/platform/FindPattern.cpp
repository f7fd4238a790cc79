#include "platform/FindPattern.h"

#include <vector>

namespace PLATFORM {

namespace {

enum class Token { kLiteral, kStar, kStarToDot, kAnyButDot, kDotOrEnd };

struct Element {
    Token token;
    char literal;
};

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<Element> Tokenize(const std::string& pattern) {
    std::vector<Element> elements;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '*') {
            elements.push_back({next == '.' ? Token::kStarToDot : Token::kStar, c});
        } else if (c == '?') {
            elements.push_back({Token::kAnyButDot, c});
        } else if (c == '.' && (next == '*' || next == '?' || next == '\0')) {
            elements.push_back({Token::kDotOrEnd, c});
        } else {
            elements.push_back({Token::kLiteral, FoldCase(c)});
        }
    }
    return elements;
}

// Memoised match of elements[e..] against name[n..]; names are short, so the
// table of (element, position) pairs is small and no pattern can make the
// search exponential.
class Matcher {
public:
    Matcher(const std::vector<Element>& elements, const std::string& name)
        : elements_(elements),
          name_(name),
          lastDot_(name.rfind('.')),
          memo_((elements.size() + 1) * (name.size() + 1), kUnknown) {}

    bool Matches(std::size_t e, std::size_t n) {
        signed char& known = memo_[e * (name_.size() + 1) + n];
        if (known == kUnknown) {
            known = Compute(e, n) ? 1 : 0;
        }
        return known == 1;
    }

private:
    static constexpr signed char kUnknown = -1;

    bool Compute(std::size_t e, std::size_t n) {
        const std::size_t size = name_.size();
        if (e == elements_.size()) {
            return n == size;
        }
        const Element& element = elements_[e];
        switch (element.token) {
            case Token::kStar:
                return AnyEnd(e, n, size);
            case Token::kStarToDot:
                return AnyEnd(e, n,
                              lastDot_ != std::string::npos && lastDot_ >= n ? lastDot_ : size);
            case Token::kAnyButDot:
                if (n == size || name_[n] == '.') {
                    return Matches(e + 1, n);
                }
                return Matches(e + 1, n + 1);
            case Token::kDotOrEnd:
                if (n == size) {
                    return Matches(e + 1, n);
                }
                return name_[n] == '.' && Matches(e + 1, n + 1);
            case Token::kLiteral:
                return n < size && FoldCase(name_[n]) == element.literal && Matches(e + 1, n + 1);
        }
        return false;
    }

    // A star at element e that may end anywhere from n to limit.
    bool AnyEnd(std::size_t e, std::size_t n, std::size_t limit) {
        for (std::size_t end = n; end <= limit; ++end) {
            if (Matches(e + 1, end)) {
                return true;
            }
        }
        return false;
    }

    const std::vector<Element>& elements_;
    const std::string& name_;
    const std::size_t lastDot_;
    std::vector<signed char> memo_;
};

}  // namespace

bool MatchesFindPattern(const std::string& pattern, const std::string& name) {
    const std::vector<Element> elements = Tokenize(pattern);
    return Matcher(elements, name).Matches(0, 0);
}

}  // namespace PLATFORM
