#pragma once
// The game data file: the emulator's full listing, captured once and kept, so
// that later starts need not run the emulator for it.
#include <string>

#include "platform/command_capture.h"

namespace lorvane::gamelist {

struct ListingCapture {
    platform::CaptureResult result;  // how the emulator's listing run went
    std::string program;             // the emulator, as it was started
    bool written = false;            // the data file now holds this listing
};

// Runs the emulator's listing and, when the emulator finished it well (exit
// status 0, something printed), replaces the data file with it and one more
// line break; any other listing replaces nothing. Throws Failure when the data
// file cannot be written (the old one is then unchanged).
ListingCapture CaptureGameDataFile(const std::string& appDir, const std::string& exeName,
                                   const std::string& dataFileName);
// The same for an emulator that lies elsewhere than the data file's folder.
ListingCapture CaptureGameDataFile(const std::string& emulatorDir, const std::string& exeName,
                                   const std::string& dataDir, const std::string& dataFileName);

}  // namespace lorvane::gamelist
