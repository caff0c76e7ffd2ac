#include "real_emulator.h"

#include <unistd.h>

#include "temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

bool RealEmulatorAvailable() { return access(kRealEmulator, X_OK) == 0; }

void PrepareRealEmulatorDir(const fs::path& dir) {
    WriteFile(dir / "mame",
              "#!/bin/sh\n"
              "HOME=\"$(dirname \"$0\")\" exec /usr/games/mame -inipath \"$(dirname \"$0\")\" \"$@\"\n");
    fs::permissions(dir / "mame", fs::perms(0755));
    WriteFile(dir / "mame.ini",
              "rompath                   roms\n"
              "snapshot_directory        snap\n"
              "video                     none\n"
              "sound                     none\n");
    fs::create_directories(dir / "roms");
    fs::create_directories(dir / "snap");
}

}  // namespace lorvane::test
