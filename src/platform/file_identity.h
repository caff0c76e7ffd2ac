#pragma once
// Whether a file is still the one seen earlier: the same file (device and
// inode), of the same size and modification time. A file replaced, rewritten,
// removed or put there in between is not.
#include <cstdint>
#include <optional>
#include <string>

#include "util/failure.h"

namespace lorvane::platform {

struct FileIdentity {
    enum class Kind { Absent, Present, Unknown };
    Kind kind = Kind::Unknown;
    std::optional<util::Failure> failure;  // Unknown: why the path could not be examined
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::int64_t mtimeNanoseconds = 0;
};

// Follows symbolic links, as a program that opens the path does. Never throws.
FileIdentity IdentifyFile(const std::string& path);

// True when both saw the same unchanged file, or both saw none. A path that
// could not be examined matches nothing.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace lorvane::platform
