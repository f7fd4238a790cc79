#include "runtime/ProfileValue.h"

#include <cstdlib>
#include <cstring>

#include "platform/IniProfile.h"
#include "platform/Win32Error.h"

namespace QXUTIL {

namespace {

constexpr PLATFORM::REGSAM kValueAccess =
    PLATFORM::KEY_READ | PLATFORM::KEY_CREATE_SUB_KEY | PLATFORM::KEY_SET_VALUE;
constexpr std::uint32_t kIniValueBufferSize = 2048;

}  // namespace

ProfileValue::ProfileValue() = default;

ProfileValue::ProfileValue(std::uint32_t type, const std::string& name, PLATFORM::HKEY root,
                           const std::string& place, const std::string& section)
    : type_(type), name_(name), root_(root), place_(place), section_(section) {}

ProfileValue::ProfileValue(const ProfileValue& other)
    : type_(other.type_),
      name_(other.name_),
      root_(other.root_),
      place_(other.place_),
      section_(other.section_) {
    if (other.data_ != nullptr && other.size_ > 0) {
        data_ = static_cast<char*>(std::malloc(other.size_));
        if (data_ != nullptr) {
            std::memcpy(data_, other.data_, other.size_);
            size_ = other.size_;
        }
    }
}

ProfileValue& ProfileValue::operator=(const ProfileValue& other) {
    if (this != &other) {
        ProfileValue copy(other);
        std::swap(type_, copy.type_);
        std::swap(name_, copy.name_);
        std::swap(data_, copy.data_);
        std::swap(size_, copy.size_);
        std::swap(root_, copy.root_);
        std::swap(place_, copy.place_);
        std::swap(section_, copy.section_);
    }
    return *this;
}

ProfileValue::~ProfileValue() { FreeData(); }

void ProfileValue::FreeData() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
}

int ProfileValue::Read() {
    FreeData();
    return root_ != nullptr ? ReadRegistry() : ReadIni();
}

int ProfileValue::ReadRegistry() {
    if (place_.empty()) {
        return PLATFORM::ERROR_SUCCESS;
    }
    PLATFORM::HKEY key = nullptr;
    const std::int32_t opened =
        PLATFORM::RegOpenKeyExA(root_, place_.c_str(), 0, kValueAccess, &key);
    if (opened != PLATFORM::ERROR_SUCCESS) {
        return opened;
    }
    std::uint32_t size = 0;
    std::int32_t result =
        PLATFORM::RegQueryValueExA(key, name_.c_str(), nullptr, &type_, nullptr, &size);
    if (result == PLATFORM::ERROR_SUCCESS && size > 0) {
        data_ = static_cast<char*>(std::malloc(size));
        if (data_ == nullptr) {
            result = PLATFORM::ERROR_NOT_ENOUGH_MEMORY;
        } else {
            result = PLATFORM::RegQueryValueExA(key, name_.c_str(), nullptr, &type_,
                                                reinterpret_cast<unsigned char*>(data_), &size);
            if (result == PLATFORM::ERROR_SUCCESS) {
                size_ = size;
            } else {
                FreeData();
            }
        }
    }
    PLATFORM::RegCloseKey(key);
    return result;
}

int ProfileValue::ReadIni() {
    if (place_.empty() || section_.empty() || name_.empty()) {
        return PLATFORM::ERROR_SUCCESS;
    }
    type_ = PLATFORM::REG_SZ;
    char buffer[kIniValueBufferSize];
    const std::uint32_t length = PLATFORM::GetPrivateProfileStringA(
        section_.c_str(), name_.c_str(), "", buffer, kIniValueBufferSize, place_.c_str());
    if (length > 0) {
        data_ = static_cast<char*>(std::malloc(length + 1));
        if (data_ != nullptr) {
            std::memcpy(data_, buffer, length + 1);
            size_ = length + 1;
        }
    }
    return PLATFORM::ERROR_SUCCESS;
}

const std::string& ProfileValue::GetString(std::string& out, const std::string& defaultText) const {
    out = defaultText;
    if (data_ == nullptr || size_ == 0) {
        return out;
    }
    if (type_ == PLATFORM::REG_SZ) {
        // A registry text need not carry its NUL; never read past the data.
        out.assign(data_, strnlen(data_, size_));
    } else if (type_ == PLATFORM::REG_DWORD) {
        if (size_ >= 4) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(data_);
            const std::uint32_t number = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                         (static_cast<std::uint32_t>(bytes[3]) << 24);
            out = std::to_string(number);
        }
    } else if (type_ == PLATFORM::REG_MULTI_SZ) {
        std::vector<std::string> items;
        GetStrings(items);
        if (!items.empty()) {
            out.clear();
            for (const std::string& item : items) {
                out += item + ",";
            }
        }
    }
    return out;
}

void ProfileValue::GetStrings(std::vector<std::string>& out) const {
    out.clear();
    if (root_ == nullptr || place_.empty() || type_ != PLATFORM::REG_MULTI_SZ || data_ == nullptr) {
        return;
    }
    std::string item;
    for (std::uint32_t i = 0; i < size_; ++i) {
        if (data_[i] != '\0') {
            item += data_[i];
        } else if (!item.empty()) {
            out.push_back(item);
            item.clear();
        }
    }
    if (!item.empty()) {
        out.push_back(item);
    }
}

}  // namespace QXUTIL
