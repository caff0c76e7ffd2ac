#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/paths.h"
#include "platform/program_search.h"

namespace lorvane::platform {
namespace {

std::vector<std::string> SearchFolders(const std::string& searchPath,
                                       const std::vector<std::string>& extraFolders) {
    std::vector<std::string> folders;
    for (std::size_t start = 0; start <= searchPath.size();) {
        const std::size_t colon = std::min(searchPath.find(':', start), searchPath.size());
        if (colon > start) folders.push_back(searchPath.substr(start, colon - start));
        start = colon + 1;
    }
    for (const std::string& extra : extraFolders)
        if (std::find(folders.begin(), folders.end(), extra) == folders.end())
            folders.push_back(extra);
    return folders;
}

}  // namespace

bool IsRunnableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> FindProgram(const std::string& name, const std::string& searchPath,
                                       const std::vector<std::string>& extraFolders) {
    if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
    if (name.find('/') != std::string::npos) {
        if (IsAbsolutePath(name) && IsRunnableFile(name)) return name;
        return std::nullopt;
    }
    for (const std::string& folder : SearchFolders(searchPath, extraFolders)) {
        const std::string candidate = JoinPath(folder, name);
        if (IsRunnableFile(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace lorvane::platform
