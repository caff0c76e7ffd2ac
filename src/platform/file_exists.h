#pragma once
#include <string>

#include "util/failure.h"

namespace lorvane::platform {

// True when the path names an existing ordinary file: directories and hidden
// files (name beginning with ".") give false; symbolic links are followed. A last
// component holding '*' or '?' is a pattern matched against the ordinary files of
// its directory. Never throws. The overload with a pending error clears it first
// and leaves there the failure of a path that could not be tested.
bool FileExists(const std::string& path);
bool FileExists(const std::string& path, util::PendingError& pending);

}  // namespace lorvane::platform
