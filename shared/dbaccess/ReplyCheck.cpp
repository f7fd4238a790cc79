#include "dbaccess/ReplyCheck.h"

#include <cstdint>
#include <cstring>

#include "Poco/NumberFormatter.h"

#include "dbaccess/WireInt32.h"

namespace DBACCESS {

namespace {

// Sizes of the OP_REPLY header (message header, flags, cursor id, starting
// point, document count) and of its fields.
const std::size_t kReplyHeaderSize = 36;
const std::int32_t kReplyOperation = 1;

// Walks the BSON document at data[pos] that must end by end; on success pos
// is just past it.
class DocumentCheck {
public:
    DocumentCheck(const unsigned char* data, std::string& problem)
        : data_(data), problem_(problem), tooDeep_(false) {}

    // True when a document nested deeper than kMaxDocumentNesting was met.
    bool TooDeep() const { return tooDeep_; }

    bool Document(std::size_t& pos, std::size_t end, int depth) {
        if (end - pos < 5) return Fail("a document cut short");
        const std::int32_t size = ReadInt32(data_ + pos);
        if (size < 5 || static_cast<std::size_t>(size) > end - pos)
            return Fail("a document size of " + Poco::NumberFormatter::format(size) +
                        " beyond its bounds");
        const std::size_t documentEnd = pos + static_cast<std::size_t>(size);
        // Values end before the document's terminating zero.
        const std::size_t last = documentEnd - 1;
        if (data_[last] != 0) return Fail("a document without its terminating zero");
        if (depth > kMaxDocumentNesting) {
            // Skipped whole, without walking further down: the rest of the
            // reply is still checked, so that only a reply that is sound
            // apart from its depth is told apart as too deep.
            tooDeep_ = true;
            pos = documentEnd;
            return true;
        }
        std::size_t p = pos + 4;
        for (;;) {
            const unsigned char type = data_[p++];
            if (type == 0) {
                if (p != documentEnd) return Fail("a document that ends before its size");
                break;
            }
            if (!CString(p, last)) return Fail("an element name running past its document");
            if (!Value(type, p, last, depth)) return false;
            if (p > last) return Fail("an element running past its document");
        }
        pos = documentEnd;
        return true;
    }

private:
    bool Value(unsigned char type, std::size_t& p, std::size_t last, int depth) {
        switch (type) {
            case 0x01:  // double
            case 0x09:  // UTC datetime
            case 0x11:  // timestamp
            case 0x12:  // 64-bit integer
                return Skip(p, 8, last);
            case 0x10:  // 32-bit integer
                return Skip(p, 4, last);
            case 0x07:  // ObjectId
                return Skip(p, 12, last);
            case 0x08:  // boolean
                return Skip(p, 1, last);
            case 0x0A:  // null
                return true;
            case 0x02:  // string
            case 0x0D:  // JavaScript code
            {
                if (!Fits(p, 4, last)) return Fail("a string cut short");
                const std::int32_t size = ReadInt32(data_ + p);
                // The library drops the last byte of every string: never less
                // than the terminating zero.
                if (size < 1 || static_cast<std::size_t>(size) > last - p - 4)
                    return Fail("a string size of " + Poco::NumberFormatter::format(size) +
                                " beyond its bounds");
                p += 4 + static_cast<std::size_t>(size);
                if (data_[p - 1] != 0) return Fail("a string without its terminating zero");
                return true;
            }
            case 0x05:  // binary
            {
                if (!Fits(p, 5, last)) return Fail("binary data cut short");
                const std::int32_t size = ReadInt32(data_ + p);
                if (size < 0 || static_cast<std::size_t>(size) > last - p - 5)
                    return Fail("a binary size of " + Poco::NumberFormatter::format(size) +
                                " beyond its bounds");
                p += 5 + static_cast<std::size_t>(size);
                return true;
            }
            case 0x0B:  // regular expression: pattern and options
                if (!CString(p, last) || !CString(p, last))
                    return Fail("a regular expression running past its document");
                return true;
            case 0x03:  // document
            case 0x04:  // array
                return Document(p, last, depth + 1);
            default:
                return Fail("an element of type 0x" +
                            Poco::NumberFormatter::formatHex(static_cast<unsigned>(type), 2) +
                            ", which the library cannot read");
        }
    }

    bool Fits(std::size_t p, std::size_t size, std::size_t last) const {
        return p <= last && size <= last - p;
    }

    bool Skip(std::size_t& p, std::size_t size, std::size_t last) {
        if (!Fits(p, size, last)) return Fail("a value cut short");
        p += size;
        return true;
    }

    // A zero-terminated text that ends before last.
    bool CString(std::size_t& p, std::size_t last) const {
        if (p >= last) return false;
        const void* zero = std::memchr(data_ + p, 0, last - p);
        if (zero == nullptr) return false;
        p = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - data_) + 1;
        return true;
    }

    bool Fail(const std::string& what) {
        problem_ = what;
        return false;
    }

    const unsigned char* data_;
    std::string& problem_;
    bool tooDeep_;
};

}  // namespace

ReplyVerdict CheckReply(std::string_view message, std::string& problem) {
    const auto* data = reinterpret_cast<const unsigned char*>(message.data());
    const std::size_t size = message.size();
    if (size < kReplyHeaderSize) {
        problem =
            "a reply of " + Poco::NumberFormatter::format(size) + " bytes, shorter than its header";
        return ReplyVerdict::Malformed;
    }
    const std::int32_t length = ReadInt32(data);
    if (length < 0 || static_cast<std::size_t>(length) != size) {
        problem = "a reply whose length field says " + Poco::NumberFormatter::format(length) +
                  " for " + Poco::NumberFormatter::format(size) + " bytes";
        return ReplyVerdict::Malformed;
    }
    const std::int32_t operation = ReadInt32(data + 12);
    if (operation != kReplyOperation) {
        problem = "a message of operation " + Poco::NumberFormatter::format(operation) +
                  " instead of a reply";
        return ReplyVerdict::Malformed;
    }
    const std::int32_t count = ReadInt32(data + 32);
    if (count < 0) {
        problem = "a reply announcing " + Poco::NumberFormatter::format(count) + " documents";
        return ReplyVerdict::Malformed;
    }
    DocumentCheck check(data, problem);
    std::size_t pos = kReplyHeaderSize;
    for (std::int32_t i = 0; i < count; ++i) {
        if (pos == size) {
            problem = "a reply with fewer documents than it announces";
            return ReplyVerdict::Malformed;
        }
        if (!check.Document(pos, size, 0)) return ReplyVerdict::Malformed;
    }
    if (pos != size) {
        problem = "a reply with bytes after its last document";
        return ReplyVerdict::Malformed;
    }
    if (check.TooDeep()) {
        problem = "documents nested deeper than " +
                  Poco::NumberFormatter::format(kMaxDocumentNesting) + " levels";
        return ReplyVerdict::TooDeep;
    }
    return ReplyVerdict::Sound;
}

}  // namespace DBACCESS
