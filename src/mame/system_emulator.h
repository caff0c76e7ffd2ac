#pragma once
// Debian's emulator, installed for the whole system: found by its command name,
// and reading its own ini files, which the installed program reads the same way.
//
// Measured with Debian's mame 0.251: `mame -noreadconfig -showconfig` gives
// "inipath /etc/mame", so it first reads /etc/mame/mame.ini; that file names
// "inipath $HOME/.mame;/etc/mame", and the emulator then reads the first
// mame.ini on that path too, whose lines override the first file's (a
// ~/.mame/mame.ini holding only "rompath x" still gets /etc's snapshot folder).
// Lorvane follows the same two steps: reading two small files costs
// microseconds, where asking `mame -showconfig` costs 0.1-0.2 s at every start.
#include <optional>
#include <string>
#include <vector>

#include "util/failure.h"

namespace lorvane::mame {

inline constexpr const char* kSystemEmulatorName = "mame";
// Where Debian installs games: searched even when PATH lacks it (a root shell).
inline constexpr const char* kSystemGamesFolder = "/usr/games";
inline constexpr const char* kSystemBuiltInIniPath = "/etc/mame";
inline constexpr const char* kSystemIniFileName = "mame.ini";

// The program a command name runs: PATH's folders, then /usr/games; an
// absolute path as it stands.
std::optional<std::string> FindSystemEmulator(const std::string& name);

struct SystemEmulatorFolders {
    std::vector<std::string> iniFiles;    // the ini files read, in the order read
    std::vector<std::string> romFolders;  // absolute, each ending with "/"
    std::string snapshotFolder;           // absolute, ending with "/"
};

// The ini files the emulator started in workDir reads, in that order: the
// first mame.ini on builtInIniPath, then the first on the ini path that file
// names (or on builtInIniPath again), each once. A file that cannot be read
// names no ini path.
std::vector<std::string> SystemEmulatorIniFiles(const std::string& workDir,
                                                const std::string& builtInIniPath);

// The ROM and snapshot folders the emulator started in workDir reads: the
// first mame.ini on builtInIniPath, then the first on the ini path that file
// names (or on builtInIniPath again); a later file's line wins. Without a line
// anywhere the emulator's own defaults: roms and snap. Folders are read with
// the quotes and variables of the portable program's ini; a relative one lies
// in workDir. Throws Failure 5 for an empty ROM folder entry or a bad snapshot
// line, naming the file; a file that cannot be read throws too.
SystemEmulatorFolders ReadSystemEmulatorFolders(const std::string& workDir,
                                                const std::string& builtInIniPath);

}  // namespace lorvane::mame
