#include "real_emulator.h"

#include <unistd.h>

#include "temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

bool RealEmulatorAvailable() { return access(kRealEmulator, X_OK) == 0; }

void PrepareRealEmulatorDir(const fs::path& dir) {
    WriteFile(dir / "mame",
              "#!/bin/sh\n"
              "exec /usr/games/mame -inipath \"$(dirname \"$0\")\" \"$@\"\n");
    fs::permissions(dir / "mame", fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    WriteFile(dir / "mame.ini",
              "rompath                   roms\n"
              "snapshot_directory        snap\n"
              "video                     none\n"
              "sound                     none\n");
    fs::create_directories(dir / "roms");
    fs::create_directories(dir / "snap");
}

}  // namespace lorvane::test
