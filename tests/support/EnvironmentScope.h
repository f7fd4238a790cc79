#pragma once

#include <cstdlib>
#include <string>

namespace TESTSUPPORT {

// Sets or removes one environment variable of the test process and puts the
// caller's value back when it goes out of scope.
class EnvironmentScope {
public:
    // Sets name to value.
    EnvironmentScope(const char* name, const std::string& value) : EnvironmentScope(name) {
        Set(value);
    }
    // Removes name.
    explicit EnvironmentScope(const char* name) : name_(name) {
        const char* old = std::getenv(name);
        hadValue_ = old != nullptr;
        if (hadValue_) {
            old_ = old;
        }
        unsetenv(name);
    }
    ~EnvironmentScope() {
        if (hadValue_) {
            setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    void Set(const std::string& value) { setenv(name_.c_str(), value.c_str(), 1); }

private:
    std::string name_;
    bool hadValue_ = false;
    std::string old_;
};

}  // namespace TESTSUPPORT
