#pragma once
// The installed program's emulator: Debian's, found by its command name on PATH
// (and in /usr/games), reading its own ini files, started in the user's home.
// Linux only.
#include <memory>
#include <string>

#include "form/emulator_setup.h"
#include "mame/system_emulator.h"

namespace lorvane::form {

// workDir: the folder the emulator is started in, from which relative folders
// in its ini files are read. builtInIniPath: where the emulator looks first.
std::unique_ptr<EmulatorSetup> SystemEmulatorSetup(
    std::string workDir, std::string builtInIniPath = mame::kSystemBuiltInIniPath);

}  // namespace lorvane::form
