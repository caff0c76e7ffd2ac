#pragma once
// An application directory around Debian's real emulator: the wrapper script
// scripts/emulator-wrapper.sh as `mame` (the emulator then reads the mame.ini
// beside it and keeps its files there), and a mame.ini naming roms/ and snap/.
#include <filesystem>
#include <string>

namespace lorvane::test {

inline constexpr const char* kRealEmulator = "/usr/games/mame";

bool RealEmulatorAvailable();
// Writes dir/mame, dir/mame.ini (rompath roms, snapshot_directory snap) and
// creates dir/roms and dir/snap.
void PrepareRealEmulatorDir(const std::filesystem::path& dir);
// Writes dir/mame: the emulator reading dir/mame.ini with the HOME it is given,
// for tests that set HOME to a temporary folder of their own.
void WriteRealEmulatorWithOwnHome(const std::filesystem::path& dir);

}  // namespace lorvane::test
