#include <cstdlib>

#include "platform/environment.h"

namespace lorvane::platform {

std::optional<std::string> EnvironmentVariable(const std::string& name) {
    // getenv would match "A=B" against a variable A whose value begins "B=".
    if (name.find_first_of(std::string("=\0", 2)) != std::string::npos) return std::nullopt;
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace lorvane::platform
