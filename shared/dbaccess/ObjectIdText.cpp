#include "dbaccess/ObjectIdText.h"

#include <cstddef>

#include "Poco/Ascii.h"
#include "Poco/BinaryWriter.h"
#include "Poco/MemoryStream.h"
#include "Poco/MongoDB/BSONWriter.h"

namespace DBACCESS {

bool IsObjectIdText(const std::string& text) {
    if (text.size() != 24) return false;
    for (char c : text) {
        if (!Poco::Ascii::isHexDigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

Poco::MongoDB::ObjectId::Ptr MakeObjectId(const std::string& text) {
    if (!IsObjectIdText(text)) return Poco::MongoDB::ObjectId::Ptr();
    return new Poco::MongoDB::ObjectId(text);
}

std::string ObjectIdText(const Poco::MongoDB::ObjectId::Ptr& id) {
    // The bytes are reached the one public way, by writing the id as BSON;
    // toString formats each byte on its own. The stream costs more to build
    // than the write (some 3% of a guest activity report's instructions when
    // built for each id), so each thread keeps one.
    struct IdWriter {
        char bytes[12];
        Poco::MemoryOutputStream stream{bytes, sizeof bytes};
        Poco::BinaryWriter writer{stream};
    };
    thread_local IdWriter out;
    out.stream.clear();
    out.stream.rdbuf()->reset();
    // The library writes an id only from a modifiable pointer.
    Poco::MongoDB::ObjectId::Ptr written = id;
    Poco::MongoDB::BSONWriter(out.writer).write(written);
    static const char digits[] = "0123456789abcdef";
    std::string text(2 * sizeof out.bytes, '0');
    for (std::size_t i = 0; i < sizeof out.bytes; ++i) {
        const auto byte = static_cast<unsigned char>(out.bytes[i]);
        text[2 * i] = digits[byte >> 4];
        text[2 * i + 1] = digits[byte & 0x0f];
    }
    return text;
}

}  // namespace DBACCESS
