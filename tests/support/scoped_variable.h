#pragma once
// An environment variable set (or unset) for the life of the object, as it was
// afterwards; child processes started meanwhile inherit it.
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/environment.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/win32_file.h"
#endif

namespace lorvane::test {

class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)) {
        old_ = platform::EnvironmentVariable(name_);
        Set(value);
    }
    ~ScopedVariable() { Set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        // The program reads the process environment, not the C runtime's copy.
        SetEnvironmentVariableW(platform::win32::WidePath(name_).c_str(),
                                value ? platform::win32::WidePath(*value).c_str() : nullptr);
#else
        if (value)
            setenv(name_.c_str(), value->c_str(), 1);
        else
            unsetenv(name_.c_str());
#endif
    }
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace lorvane::test
