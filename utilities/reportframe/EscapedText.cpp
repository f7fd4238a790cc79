#include "reportframe/EscapedText.h"

std::string EscapeControls(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown += c;
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else {
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        }
    }
    return shown;
}
