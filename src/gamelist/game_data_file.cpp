#include "gamelist/game_data_file.h"

#include "mame/commands.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace lorvane::gamelist {
namespace {

// A listing replaces the data file only when the emulator finished it well:
// exit status 0 and something printed (real emulators exit 0 after a listing,
// also one with warnings in it).
bool IsGoodListing(const platform::CaptureResult& result) {
    return result.exited && result.exitStatus == 0 &&
           result.text.find_first_not_of(" \t\r\n") != std::string::npos;
}

}  // namespace

ListingCapture CaptureGameDataFile(const std::string& appDir, const std::string& exeName,
                                   const std::string& dataFileName) {
    return CaptureGameDataFile(appDir, exeName, appDir, dataFileName);
}

ListingCapture CaptureGameDataFile(const std::string& emulatorDir, const std::string& exeName,
                                   const std::string& dataDir, const std::string& dataFileName) {
    const platform::CommandLine command = mame::ListFullCommand(emulatorDir, exeName);
    ListingCapture capture{platform::RunCapture(command, true, true), command.front(), false};
    if (IsGoodListing(capture.result)) {
        platform::WriteFileAtomically(platform::JoinPath(dataDir, dataFileName),
                                      capture.result.text + "\r\n");
        capture.written = true;
    }
    return capture;
}

}  // namespace lorvane::gamelist
