#include "platform/IniReadScope.h"

#include "platform/IniLines.h"
#include "platform/SettingsText.h"

namespace PLATFORM {

namespace {

std::shared_ptr<const std::string> LoadText(const std::string& nativePath) {
    TextEncoding encoding;
    return std::make_shared<const std::string>(ReadIniText(nativePath, encoding));
}

}  // namespace

thread_local IniReadScope::Copies* IniReadScope::active_ = nullptr;

IniReadScope::IniReadScope() {
    if (active_ == nullptr) {
        copies_ = std::make_unique<Copies>();
        active_ = copies_.get();
    }
}

IniReadScope::~IniReadScope() {
    if (copies_) {
        active_ = nullptr;
    }
}

std::shared_ptr<const IniSectionEntries> IniReadScope::Section(const std::string& nativePath,
                                                               const std::string& section) {
    if (active_ == nullptr) {
        return std::make_shared<const IniSectionEntries>(LoadText(nativePath), section);
    }
    auto& kept = active_->sections[{nativePath, UpperAscii(section)}];
    if (!kept) {
        auto& text = active_->texts[nativePath];
        if (!text) {
            text = LoadText(nativePath);
        }
        kept = std::make_shared<const IniSectionEntries>(text, section);
    }
    return kept;
}

void IniReadScope::Forget(const std::string& nativePath) {
    if (active_ == nullptr) {
        return;
    }
    active_->texts.erase(nativePath);
    auto& sections = active_->sections;
    for (auto it = sections.lower_bound({nativePath, std::string()});
         it != sections.end() && it->first.first == nativePath;) {
        it = sections.erase(it);
    }
}

}  // namespace PLATFORM
