#include "platform/TextEncoding.h"

#include <cstdint>

namespace PLATFORM {

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kUtf16LeBom[] = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16Le(std::string& out, char32_t cp) {
    auto unit = [&out](std::uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    if (cp < 0x10000) {
        unit(cp);
    } else {
        cp -= 0x10000;
        unit(0xD800 + (cp >> 10));
        unit(0xDC00 + (cp & 0x3FF));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i past it.
char32_t NextUtf8(const std::string& text, std::size_t& i) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) {
        return lead;
    }
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (std::size_t k = 0; k < extra; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) {
            return kReplacement;
        }
        cp = (cp << 6) | (byte(i++) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return cp;
}

}  // namespace

std::string Utf16LeToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&bytes](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t unit = unitAt(k);
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units) {
            const char32_t low = unitAt(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit);
    }
    return out;
}

std::string Utf8ToUtf16Le(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        AppendUtf16Le(out, NextUtf8(text, i));
    }
    return out;
}

std::string DecodeText(const std::string& bytes, TextEncoding& encoding) {
    if (bytes.compare(0, 2, kUtf16LeBom) == 0) {
        encoding = TextEncoding::Utf16Le;
        return Utf16LeToUtf8(bytes.substr(2));
    }
    if (bytes.compare(0, 3, kUtf8Bom) == 0) {
        encoding = TextEncoding::Utf8Bom;
        return bytes.substr(3);
    }
    encoding = TextEncoding::Utf8;
    return bytes;
}

std::string EncodeText(const std::string& text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf16Le:
            return kUtf16LeBom + Utf8ToUtf16Le(text);
        case TextEncoding::Utf8Bom:
            return kUtf8Bom + text;
        case TextEncoding::Utf8:
            break;
    }
    return text;
}

}  // namespace PLATFORM
