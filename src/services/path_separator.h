#pragma once
// How this system writes paths and compares file names. Windows joins with a
// backslash and also takes "/"; its names compare without regard to case, and
// its lookups treat more characters as patterns or separators.
#include <string_view>

namespace lorvane {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
inline constexpr bool kFileNamesFoldCase = true;
// In a file name these make a lookup a pattern, a path, or something only the
// system's own test can answer.
inline constexpr std::string_view kNameSpecialChars = "*?/\\:<>\"|";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
inline constexpr bool kFileNamesFoldCase = false;
inline constexpr std::string_view kNameSpecialChars = "*?/";
#endif

inline bool IsPathSeparator(char c) { return kPathSeparators.find(c) != std::string_view::npos; }

}  // namespace lorvane
