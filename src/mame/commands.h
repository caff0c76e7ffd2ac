#pragma once
// The emulator's command lines. The program is the application directory
// joined with the executable name as one argument, so no text typed as the name
// can add options or run another program.
#include <string>
#include <vector>

#include "platform/command_capture.h"

namespace lorvane::mame {

using platform::CommandLine;

// appDir/exe -listfull
CommandLine ListFullCommand(const std::string& appDir, const std::string& exeName);
// appDir/exe name [joystick option] ; the name is trimmed of blanks, the option
// text (" -joy", empty, ...) is split at blanks into arguments.
CommandLine LaunchCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption);
// The launch command followed by -verifyroms.
CommandLine VerifyCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption);
// appDir/exe -verifyroms name... (one argument per name): several sets in one run.
CommandLine SeveralSetCommand(const std::string& appDir, const std::string& exeName,
                              const std::vector<std::string>& names);
// appDir/exe -listxml name... (one argument per name): the machines the sets describe.
CommandLine ListXmlCommand(const std::string& appDir, const std::string& exeName,
                           const std::vector<std::string>& names);

// The ROM set check passes only when this phrase is anywhere in the output.
inline constexpr const char* kVerdictPhrase = "1 romsets found, 1 were OK";
bool VerdictPasses(const std::string& capturedOutput);

}  // namespace lorvane::mame
