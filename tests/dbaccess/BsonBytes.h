// Hand-made wire bytes for the tests of the reply guard: BSON documents and
// OP_REPLY messages, well-formed or not.

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace BSONBYTES {

inline std::string Int32(std::int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string Name(const std::string& name) { return name + std::string(1, '\0'); }

// A document of the given elements, its size and terminating zero added.
inline std::string Doc(const std::string& elements) {
    return Int32(static_cast<std::int32_t>(elements.size() + 5)) + elements + std::string(1, '\0');
}

inline std::string Str(const std::string& name, const std::string& text) {
    return "\x02" + Name(name) + Int32(static_cast<std::int32_t>(text.size() + 1)) + text +
           std::string(1, '\0');
}

inline std::string I32(const std::string& name, std::int32_t value) {
    return "\x10" + Name(name) + Int32(value);
}

inline std::string Sub(const std::string& name, const std::string& document) {
    return "\x03" + Name(name) + document;
}

// depth sub-documents named "n" inside one another, a string at the
// bottom; built front to back, as deep ones are large.
inline std::string Nested(int depth) {
    const std::string innermost = Doc(Str("leaf", "x"));
    const std::string opening = Sub("n", "");  // type, name: each level's bytes before its child
    std::string document;
    for (int level = depth; level >= 1; --level)
        document +=
            Int32(static_cast<std::int32_t>(innermost.size() + level * (4 + opening.size() + 1))) +
            opening;
    return document + innermost + std::string(depth, '\0');
}

// An OP_REPLY holding documents; announced (default: their number) is the
// document count its header gives.
inline std::string Reply(const std::vector<std::string>& documents, int announced = -1,
                         std::int32_t operation = 1) {
    std::string body =
        Int32(0) + std::string(8, '\0') + Int32(0) +
        Int32(announced < 0 ? static_cast<std::int32_t>(documents.size()) : announced);
    for (const std::string& document : documents) body += document;
    return Int32(static_cast<std::int32_t>(16 + body.size())) + Int32(7) + Int32(0) +
           Int32(operation) + body;
}

}  // namespace BSONBYTES
