#pragma once
// The emulator's three command lines. The program is the application directory
// joined with the executable name as one argument, so no text typed as the name
// can add options or run another program.
#include <string>

#include "command_capture.h"

namespace lorvane {

std::string JoinAppPath(const std::string& appDir, const std::string& name);

// appDir/exe -listfull
CommandLine ListFullCommand(const std::string& appDir, const std::string& exeName);
// appDir/exe name [joystick option] ; the name is trimmed of blanks, the option
// text (" -joy", empty, ...) is split at blanks into arguments.
CommandLine LaunchCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption);
// The launch command followed by -verifyroms.
CommandLine VerifyCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption);

// The ROM set check passes only when this phrase is anywhere in the output.
inline constexpr const char* kVerdictPhrase = "1 romsets found, 1 were OK";
bool VerdictPasses(const std::string& capturedOutput);

}  // namespace lorvane
