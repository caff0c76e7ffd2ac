#pragma once
// Finding a program by its command name, as a shell does. Linux only.
#include <optional>
#include <string>
#include <vector>

namespace lorvane::platform {

// The file a command name runs. A name with a "/" is taken as it stands when
// it is absolute (a relative one would depend on the working folder, so it
// names nothing). A bare name is looked up in each folder of searchPath (":"
// between them; an empty entry is skipped, not taken as the working folder),
// then in each of extraFolders not searched yet. The first ordinary file the
// user may run wins. Nothing when none is found.
std::optional<std::string> FindProgram(const std::string& name, const std::string& searchPath,
                                       const std::vector<std::string>& extraFolders);

// An ordinary file (links followed) that the user may run.
bool IsRunnableFile(const std::string& path);

}  // namespace lorvane::platform
