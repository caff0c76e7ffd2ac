#pragma once
// An application directory around Debian's real emulator: the wrapper script
// scripts/emulator-wrapper.sh as `mame` (the emulator then reads the mame.ini
// beside it and keeps its files there), and a mame.ini naming roms/ and snap/.
#include <filesystem>
#include <set>
#include <string>

#include "support/fake_ui.h"

namespace lorvane::form {
class MainForm;
}

namespace lorvane::test {

inline constexpr const char* kRealEmulator = "/usr/games/mame";
// A zip with no files: a good set for machines that need no ROM dump.
inline const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');

bool RealEmulatorAvailable();
// Writes dir/mame, dir/mame.ini (rompath roms, snapshot_directory snap) and
// creates dir/roms and dir/snap.
void PrepareRealEmulatorDir(const std::filesystem::path& dir);
// Writes dir/mame: the emulator reading dir/mame.ini with the HOME it is given,
// for tests that set HOME to a temporary folder of their own.
void WriteRealEmulatorWithOwnHome(const std::filesystem::path& dir);

// The set names the window lists.
std::set<std::string> ListedSets(const form::MainForm& form);
// Launches each listed set through the window: it starts as `emulator NAME`
// exactly when a check of it run by hand with `emulator` passes, and otherwise
// shows that check's report; the preview shows snapshots + "/NAME.png" for the
// set `pictured` only. Returns the sets that passed.
std::set<std::string> ExpectLaunchesAsChecksByHand(form::MainForm& form, FakeUi& ui,
                                                   const std::string& emulator,
                                                   const std::string& snapshots,
                                                   const std::string& pictured);

}  // namespace lorvane::test
