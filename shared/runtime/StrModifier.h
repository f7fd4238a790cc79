#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace CORVANE {

// The rule every text field applies to a proposed text: which texts may
// replace the current one, how they are filtered and cut, and which case
// rule they get. The owner configures it by writing the public members
// before use; a default modifier accepts any text unchanged.
//
// Sets are plain byte strings (case-sensitive, order and repetition do not
// matter) and lengths count bytes. Case rules touch only A-Z and a-z.
class StrModifier {
public:
    // Values of caseMode. Any other value acts as kCaseNone.
    static constexpr std::int32_t kCaseNone = 0;
    static constexpr std::int32_t kCaseUpper = 1;
    static constexpr std::int32_t kCaseLower = 2;
    static constexpr std::int32_t kCaseCapitalized = 3;  // lower, first letter upper

    StrModifier();
    StrModifier(const StrModifier& other) = default;
    StrModifier(StrModifier&& other) = default;
    StrModifier& operator=(const StrModifier& other) = default;
    virtual ~StrModifier();

    // Back to the default configuration.
    virtual void Reset();

    // The text the owner is to store for the proposal newText: currentText
    // when the proposal is refused. changed is true only when the proposal
    // was accepted as a change.
    virtual std::string Apply(const std::string& newText, const std::string& currentText,
                              bool& changed) const;

    // text without the characters that are not in keepSet, the rest in order.
    virtual std::string KeepOnly(const std::string& text, const std::string& keepSet) const;

    // The five XML entities; XmlUnescape(XmlEscape(x)) == x for every x.
    virtual std::string XmlEscape(const std::string& text) const;
    virtual std::string XmlUnescape(const std::string& text) const;

    std::int32_t caseMode;
    std::string rejectSet;   // a text holding any of these is refused
    std::size_t maxLength;   // longer texts are cut; 0: no maximum and no minimum
    std::size_t minLength;   // shorter texts are refused, only when maxLength != 0
    std::string removeSet;   // deleted from every proposal first
    std::string allowedSet;  // when not empty, a text holding anything else is refused
};

}  // namespace CORVANE
