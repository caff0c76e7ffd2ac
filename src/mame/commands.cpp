#include "mame/commands.h"

#include <algorithm>

#include "platform/paths.h"
#include "util/text.h"

namespace lorvane::mame {
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

CommandLine ListFullCommand(const std::string& appDir, const std::string& exeName) {
    return {platform::JoinPath(appDir, exeName), "-listfull"};
}

CommandLine LaunchCommand(const std::string& appDir, const std::string& exeName,
                          const std::string& shortName, const std::string& joystickOption) {
    CommandLine argv{platform::JoinPath(appDir, exeName)};
    // A blank name would have added nothing to a concatenated command line;
    // an empty argument would make the emulator look for a set named "".
    const std::string_view name = util::TrimSpaces(shortName);
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

CommandLine SeveralSetCommand(const std::string& appDir, const std::string& exeName,
                              const std::vector<std::string>& names) {
    CommandLine argv{platform::JoinPath(appDir, exeName), "-verifyroms"};
    argv.insert(argv.end(), names.begin(), names.end());
    return argv;
}

CommandLine ListXmlCommand(const std::string& appDir, const std::string& exeName,
                           const std::vector<std::string>& names) {
    CommandLine argv{platform::JoinPath(appDir, exeName), "-listxml"};
    argv.insert(argv.end(), names.begin(), names.end());
    return argv;
}

bool VerdictPasses(const std::string& capturedOutput) {
    return capturedOutput.find(kVerdictPhrase) != std::string::npos;
}

}  // namespace lorvane::mame
