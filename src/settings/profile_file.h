#pragma once
// Reader and writer of the profile-file format (section headers in brackets,
// key=value lines). Section and key names match without regard to case; a
// write replaces the value where it stands or appends the key at the end of its
// section, creating file and section when missing, and leaves every other byte
// of the file as it was. The file is replaced atomically.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lorvane::settings {

// The file's content, or nothing when it does not exist. Throws Failure when
// it is there but cannot be read.
std::optional<std::string> ReadProfileFile(const std::string& file);

// The value of the key, whole, or nothing when the file, section or key is missing.
std::optional<std::string> ReadProfileString(const std::string& file, const std::string& section,
                                             const std::string& key);

// Writes keys in order in one replacement of the file, or not at all when the
// file holds these values already. Throws Failure when the file cannot be read
// or written; the file is then unchanged.
void WriteProfileStrings(const std::string& file, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& keyValues);

// The same edit on text in memory (new lines end with CR LF).
std::string ApplyProfileWrites(const std::string& content, const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& keyValues);
std::optional<std::string> FindProfileValue(const std::string& content, const std::string& section,
                                            const std::string& key);

}  // namespace lorvane::settings
