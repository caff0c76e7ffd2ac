#pragma once
// The ROM directories and the snapshot directory, read from the emulator's ini.
#include <string>
#include <vector>

#include "main_form_host.h"
#include "platform_paths.h"

namespace lorvane {

// Every ".exe" becomes ".ini"; where programs carry no extension (Linux) a name
// without any gets ".ini" appended.
std::string EmulatorIniName(const std::string& exeName);
std::string EmulatorIniPath(const std::string& appDir, const std::string& exeName);

// The ROM directory when there is no ini file: "roms" and the separator.
inline const std::string kDefaultRomDir = std::string("roms") + kPathSeparator;

namespace Clean_code {
// Each entry ends with the separator. No ini file: {kDefaultRomDir}. Throws Failure 5 for an empty
// entry, or a read failure.
std::vector<std::string> GetMameRomPath(const std::string& appDir, const std::string& exeName,
                                        PendingError& pending);
}  // namespace Clean_code

namespace Frontend_code {
// Sets snap_path from the ini (or appDir + "/snap/" without one): a relative
// value is taken inside appDir, an absolute one or one with ";" as it stands.
// The ini test uses the window's pending error. Throws Failure 5 for a snapshot
// line shorter than 19 characters or an empty value.
void GetMameSnapshotDir(MainFormHost& form);
}  // namespace Frontend_code

}  // namespace lorvane
