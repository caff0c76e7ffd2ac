#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/user_folders.h"
#include "util/failure.h"

namespace lorvane::platform {
namespace {

constexpr mode_t kPrivateFolderMode = 0700;

bool IsAbsoluteFolder(const std::optional<std::string>& value) {
    return value && IsAbsolutePath(*value);
}

std::string WithoutTrailingSeparators(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

}  // namespace

std::optional<std::string> HomeFolder() {
    const std::optional<std::string> home = EnvironmentVariable("HOME");
    if (IsAbsoluteFolder(home)) return WithoutTrailingSeparators(*home);
    const struct passwd* entry = ::getpwuid(::getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && IsAbsolutePath(entry->pw_dir))
        return WithoutTrailingSeparators(entry->pw_dir);
    return std::nullopt;
}

std::string UserDataFolder(const std::optional<std::string>& xdgDataHome, const std::string& home,
                           const std::string& program) {
    if (IsAbsoluteFolder(xdgDataHome))
        return JoinPath(WithoutTrailingSeparators(*xdgDataHome), program);
    return JoinPath(JoinPath(home, ".local/share"), program);
}

bool IsUnderUsr(const std::string& path) {
    // "/usr//x" and "//usr" name the same places as "/usr/x" and "/usr".
    std::string squeezed;
    for (const char c : path)
        if (c != '/' || squeezed.empty() || squeezed.back() != '/') squeezed += c;
    return squeezed == "/usr" || squeezed.starts_with("/usr/");
}

// Only missing folders are made: nothing is attempted on the folders above,
// which are not the user's to change.
void MakeFolders(const std::string& dir) {
    for (std::size_t end = dir.find('/', 1);; end = dir.find('/', end + 1)) {
        const std::string part = dir.substr(0, end);
        if (!part.empty() && part.back() != '/') {
            struct stat st {};
            if (::stat(part.c_str(), &st) != 0) {
                if (errno != ENOENT) throw util::FailureFromErrno(errno, part);
                if (::mkdir(part.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST)
                    throw util::FailureFromErrno(errno, part);
            } else if (!S_ISDIR(st.st_mode)) {
                throw util::FailureFromErrno(ENOTDIR, part);
            }
        }
        if (end == std::string::npos) break;
    }
}

InstalledFolders PrepareInstalledFolders(const std::string& program) {
    const std::optional<std::string> home = HomeFolder();
    if (!home)
        throw util::Failure(util::ErrNo::PathNotFound,
                            "No home folder: HOME is not set to an absolute folder and the "
                            "password database names none for this user.");
    if (!IsAbsoluteFolder(EnvironmentVariable("HOME"))) ::setenv("HOME", home->c_str(), 1);

    // A home that is not there is not made: it is not the program's to make.
    struct stat st {};
    if (::stat(home->c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw util::Failure(util::ErrNo::PathNotFound,
                            "The home folder " + *home + " is not there.");

    InstalledFolders folders{*home,
                             UserDataFolder(EnvironmentVariable("XDG_DATA_HOME"), *home, program)};
    if (IsUnderUsr(folders.appDir))
        throw util::Failure(util::ErrNo::PermissionDenied,
                            "The folder " + folders.appDir +
                                " lies under /usr, which belongs to the system's packages; set "
                                "XDG_DATA_HOME or HOME to a folder of your own.");
    try {
        MakeFolders(folders.appDir);
    } catch (const util::Failure& f) {
        throw util::Failure(f.Number(),
                            "The folder " + folders.appDir + " cannot be made: " + f.Description());
    }
    return folders;
}

}  // namespace lorvane::platform
