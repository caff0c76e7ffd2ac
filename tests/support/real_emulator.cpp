#include "support/real_emulator.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace lorvane::test {

#ifdef _WIN32
bool RealEmulatorAvailable() { return false; }  // Debian's emulator is a Linux program
#else
bool RealEmulatorAvailable() { return access(kRealEmulator, X_OK) == 0; }
#endif

void PrepareRealEmulatorDir(const fs::path& dir) {
    fs::copy_file(LORVANE_EMULATOR_WRAPPER, dir / "mame", fs::copy_options::overwrite_existing);
    fs::permissions(dir / "mame", fs::perms(0755));
    WriteFile(dir / "mame.ini",
              "rompath                   roms\n"
              "snapshot_directory        snap\n"
              "video                     none\n"
              "sound                     none\n");
    fs::create_directories(dir / "roms");
    fs::create_directories(dir / "snap");
}

void WriteRealEmulatorWithOwnHome(const fs::path& dir) {
    WriteFile(dir / "mame", std::string("#!/bin/sh\nexec ") + kRealEmulator +
                                " -inipath \"$(dirname \"$0\")\" \"$@\"\n");
    fs::permissions(dir / "mame", fs::perms(0755));
}

}  // namespace lorvane::test
