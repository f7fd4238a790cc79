#include "runtime/StrModifier.h"

#include <array>
#include <utility>

#include "Poco/String.h"

#include "runtime/ByteSet.h"

namespace CORVANE {

namespace {

// The bytes of text that are in set (member true) or outside it (member
// false), in order.
std::string Select(const std::string& text, const ByteSet& set, bool member) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (set.Contains(c) == member) kept.push_back(c);
    }
    return kept;
}

// True when every byte of text is in set (member true) or every byte is
// outside it (member false).
bool AllBytes(const std::string& text, const ByteSet& set, bool member) {
    for (char c : text) {
        if (set.Contains(c) != member) return false;
    }
    return true;
}

// The table of keepSet. The derived modifiers filter every field of every
// record through one of a few fixed sets, so the tables of the last sets
// seen are kept, per thread, rather than built for each text (building each
// costs some 3% of a report's instructions); the set is
// compared whole, so a caller's set that changes in place is seen anew.
const ByteSet& KeepTable(const std::string& keepSet) {
    struct Entry {
        std::string set;
        ByteSet table{std::string()};
    };
    thread_local std::array<Entry, 4> kept;
    thread_local std::size_t oldest = 0;
    for (const Entry& entry : kept) {
        if (entry.set == keepSet) return entry.table;
    }
    Entry& entry = kept[oldest];
    oldest = (oldest + 1) % kept.size();
    entry.set = keepSet;
    entry.table = ByteSet(keepSet);
    return entry.table;
}

// Escaping walks the rows from the top; the ampersand comes first so that
// the entities written later are not escaped again.
const std::pair<const char*, const char*> kXmlEntities[] = {
    {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"},
};

}  // namespace

StrModifier::StrModifier() : caseMode(kCaseNone), maxLength(0), minLength(0) {}

StrModifier::~StrModifier() = default;

void StrModifier::Reset() {
    caseMode = kCaseNone;
    rejectSet.clear();
    maxLength = 0;
    minLength = 0;
    removeSet.clear();
    allowedSet.clear();
}

std::string StrModifier::Apply(const std::string& newText, const std::string& currentText,
                               bool& changed) const {
    changed = false;
    if (newText == currentText) return newText;
    if (newText.empty()) {
        if (minLength == 0 || maxLength == 0) {
            changed = true;
            return newText;
        }
        return currentText;
    }

    std::string text = removeSet.empty() ? newText : Select(newText, ByteSet(removeSet), false);
    if (!allowedSet.empty() && !AllBytes(text, ByteSet(allowedSet), true)) return currentText;
    if (!rejectSet.empty() && !AllBytes(text, ByteSet(rejectSet), false)) return currentText;
    if (maxLength != 0) {
        if (text.size() > maxLength)
            text.resize(maxLength);
        else if (text.size() < minLength)
            return currentText;
    }

    switch (caseMode) {
        case kCaseUpper:
            Poco::toUpperInPlace(text);
            break;
        case kCaseLower:
            Poco::toLowerInPlace(text);
            break;
        case kCaseCapitalized:
            Poco::toLowerInPlace(text);
            if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
                text[0] = static_cast<char>(text[0] - 'a' + 'A');
            break;
        default:
            break;
    }
    changed = true;
    return text;
}

std::string StrModifier::KeepOnly(const std::string& text, const std::string& keepSet) const {
    // Most proposals hold nothing to delete: a plain copy is cheaper than a
    // byte-by-byte rebuild.
    const ByteSet& set = KeepTable(keepSet);
    return AllBytes(text, set, true) ? text : Select(text, set, true);
}

std::string StrModifier::XmlEscape(const std::string& text) const {
    std::string escaped(text);
    for (const auto& entity : kXmlEntities)
        Poco::replaceInPlace(escaped, std::string(entity.second), std::string(entity.first));
    return escaped;
}

std::string StrModifier::XmlUnescape(const std::string& text) const {
    // "&amp;" goes last, so that "&amp;lt;" comes back as "&lt;" and not "<".
    std::string unescaped(text);
    for (std::size_t row = 1; row < std::size(kXmlEntities); ++row)
        Poco::replaceInPlace(unescaped, std::string(kXmlEntities[row].first),
                             std::string(kXmlEntities[row].second));
    Poco::replaceInPlace(unescaped, std::string(kXmlEntities[0].first),
                         std::string(kXmlEntities[0].second));
    return unescaped;
}

}  // namespace CORVANE
