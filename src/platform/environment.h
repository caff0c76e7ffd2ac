#pragma once
// The process's environment variables, read where the emulator's ini names them.
#include <optional>
#include <string>

namespace lorvane::platform {

// The value of an environment variable as UTF-8, or nothing when it is not set.
// A name holding "=" or a NUL character names no variable.
std::optional<std::string> EnvironmentVariable(const std::string& name);

}  // namespace lorvane::platform
