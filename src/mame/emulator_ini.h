#pragma once
// The ROM directories and the snapshot directory, read from the emulator's ini.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "util/failure.h"

namespace lorvane::mame {

// Every ".exe" becomes ".ini"; where programs carry no extension (Linux) a name
// without any gets ".ini" appended.
std::string EmulatorIniName(const std::string& exeName);
std::string EmulatorIniPath(const std::string& appDir, const std::string& exeName);

// The ROM folder when there is no ini file: "roms" and the separator.
inline const std::string kDefaultRomFolder = std::string("roms") + platform::kPathSeparator;

// The ini's ROM folders (its first rompath line), in order. Each entry ends
// with the separator. A value in one pair of double quotes is read without
// them, and each entry has its environment variables expanded, as the emulator
// reads it. No ini file: {kDefaultRomFolder}; no rompath line: none. The test
// for the ini file leaves its failure in `pending`, as every file test does.
// Throws Failure 5 for an empty entry, or a read failure.
std::vector<std::string> ReadRomFolders(const std::string& appDir, const std::string& exeName,
                                        util::PendingError& pending);

// The ini's snapshot folder (its first snapshot line), ending with the
// separator, its value read as the ROM path's is: a relative value is taken
// inside appDir, an absolute one or one with ";" as it stands. No ini file:
// appDir + "/snap/"; no snapshot line: nothing (the folder stays as it was).
// Throws Failure 5 for a snapshot line shorter than 19 characters or an empty
// value.
std::optional<std::string> ReadSnapshotFolder(const std::string& appDir, const std::string& exeName,
                                              util::PendingError& pending);

// The same readings of an ini file's text (iniPath names it in failures):
// nothing when the file has no such line. A relative snapshot folder is taken
// inside baseDir.
std::optional<std::vector<std::string>> RomFoldersInIni(const std::string& text,
                                                        const std::string& iniPath);
std::optional<std::string> SnapshotFolderInIni(const std::string& text, const std::string& baseDir,
                                               const std::string& iniPath);
// The first line whose first keyword.size() characters, upper-cased, are the
// keyword (an upper-case word); nothing when no line has it.
std::optional<std::string> FirstIniLineWithKey(const std::string& text, std::string_view keyword);

}  // namespace lorvane::mame
