#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/IniSectionEntries.h"

namespace PLATFORM {

// Reading many values of one INI file through the profile functions would
// read and parse the whole file once per value. While an IniReadScope lives
// on a thread, the profile reads of that thread load each file once, on
// first use, and answer from that copy; a profile write of the file on the
// thread drops the copy, so the reads after it see the write. Changes made
// to the file by others meanwhile are seen only after the scope ends. A
// scope made inside another one on the same thread shares the outer one's
// copies.
class IniReadScope {
public:
    IniReadScope();
    ~IniReadScope();
    IniReadScope(const IniReadScope&) = delete;
    IniReadScope& operator=(const IniReadScope&) = delete;

    // The section of the INI file at nativePath: kept by the thread's scope,
    // or loaded for this call alone when no scope lives on the thread.
    static std::shared_ptr<const IniSectionEntries> Section(const std::string& nativePath,
                                                            const std::string& section);

    // Drops the thread's copies of the file at nativePath.
    static void Forget(const std::string& nativePath);

private:
    struct Copies {
        std::map<std::string, std::shared_ptr<const std::string>> texts;
        // By file and upper-case section name.
        std::map<std::pair<std::string, std::string>, std::shared_ptr<const IniSectionEntries>>
            sections;
    };

    static thread_local Copies* active_;
    std::unique_ptr<Copies> copies_;  // null in a scope inside another one
};

}  // namespace PLATFORM
