#pragma once
// Where the running program's executable lies, and making that the working
// directory, so relative ROM and snapshot directories mean the same to the
// program as to the emulator it starts.
#include <string>

namespace lorvane::platform {

// The directory of the running executable, without a trailing separator
// (except for a root). Throws Failure when the system cannot say.
std::string ApplicationDirectory();

// Throws Failure when the directory cannot be entered.
void EnterDirectory(const std::string& dir);

}  // namespace lorvane::platform
