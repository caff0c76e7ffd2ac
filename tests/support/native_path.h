#pragma once
// Paths and program names as this system writes them, so one test reads the
// same on Linux and on Windows.
#include <algorithm>
#include <string>

#include "platform/paths.h"

namespace lorvane::test {

// The emulator's file name: Windows programs carry ".exe" (its ini is then "mame.ini").
inline const std::string kMameExe = platform::kProgramsHaveExtension ? "mame.exe" : "mame";

// The text with every "/" written as this system's separator.
inline std::string Native(std::string text) {
    std::ranges::replace(text, '/', platform::kPathSeparator);
    return text;
}

}  // namespace lorvane::test
