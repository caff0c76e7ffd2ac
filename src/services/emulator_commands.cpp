#include "emulator_commands.h"

#include <algorithm>

#include "platform_paths.h"
#include "text_util.h"

namespace lorvane {
namespace {

// Each run of blanks separates two arguments; nothing is quoted.
void AppendWords(CommandLine& argv, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        if (end > pos) argv.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
}

}  // namespace

std::string JoinAppPath(const std::string& appDir, const std::string& name) {
    if (appDir.empty()) return name;
    if (IsPathSeparator(appDir.back())) return appDir + name;
    return appDir + kPathSeparator + name;
}

CommandLine ListFullCommand(const std::string& appDir, const std::string& exeName) {
    return {JoinAppPath(appDir, exeName), "-listfull"};
}

CommandLine LaunchCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption) {
    CommandLine argv{JoinAppPath(appDir, exeName)};
    // A blank name would have added nothing to a concatenated command line;
    // an empty argument would make the emulator look for a set named "".
    const std::string_view name = TrimSpaces(shortName);
    if (!name.empty()) argv.emplace_back(name);
    AppendWords(argv, joystickOption);
    return argv;
}

CommandLine VerifyCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption) {
    CommandLine argv = LaunchCommand(appDir, exeName, shortName, joystickOption);
    argv.emplace_back("-verifyroms");
    return argv;
}

bool VerdictPasses(const std::string& capturedOutput) {
    return capturedOutput.find(kVerdictPhrase) != std::string::npos;
}

}  // namespace lorvane
