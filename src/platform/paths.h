#pragma once
// How this system writes paths and compares file names. Windows joins with a
// backslash and takes "/" too; its names compare without regard to case, its
// lookups treat more characters as patterns or separators, and its programs
// carry the extension ".exe".
#include <string>
#include <string_view>

namespace lorvane::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
inline constexpr bool kFileNamesFoldCase = true;
// In a file name these make a lookup a pattern, a path, or something only the
// system's own test can answer ("~": a short 8.3 name may match another file).
inline constexpr std::string_view kNameSpecialChars = "*?/\\:<>\"|~";
inline constexpr bool kProgramsHaveExtension = true;
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
inline constexpr bool kFileNamesFoldCase = false;
inline constexpr std::string_view kNameSpecialChars = "*?/";
inline constexpr bool kProgramsHaveExtension = false;
#endif

inline bool IsPathSeparator(char c) { return kPathSeparators.find(c) != std::string_view::npos; }

// Names a place without the working directory: "/x" here; "C:\x", "C:x",
// "\x" and "\\server\x" on Windows (none of them lie inside a folder they are
// joined to).
inline bool IsAbsolutePath(std::string_view path) {
    if (!path.empty() && IsPathSeparator(path.front())) return true;
    if constexpr (kPathSeparator == '\\') {
        return path.size() >= 2 && path[1] == ':' &&
               ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    }
    return false;
}

// A name inside a folder: joined with the separator unless the folder ends with
// one; an empty folder leaves the name as it is.
inline std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (IsPathSeparator(dir.back())) return dir + name;
    return dir + kPathSeparator + name;
}

}  // namespace lorvane::platform
