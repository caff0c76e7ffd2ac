#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "platform/file_exists.h"

namespace lorvane::platform {
namespace {

// The platform's file patterns: '*' any run of characters, '?' one character.
bool MatchPattern(std::string_view pat, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pat.size() && (pat[p] == '?' || pat[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == '*') ++p;
    return p == pat.size();
}

bool IsHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

// errno of a test that could not be made; 0 when the answer is simply "no".
bool TestOne(const std::string& path, int& err) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) err = errno;
        return false;
    }
    return S_ISREG(st.st_mode);
}

bool Exists(const std::string& path, int& err) {
    err = 0;
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    const std::size_t slash = path.rfind('/');
    const std::string dir =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string_view last =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (last.empty() || IsHidden(last)) return false;

    if (last.find_first_of("*?") == std::string_view::npos) return TestOne(path, err);

    DIR* d = opendir(dir.c_str());
    if (!d) {
        if (errno != ENOENT && errno != ENOTDIR) err = errno;
        return false;
    }
    bool found = false;
    while (dirent* e = readdir(d)) {
        const std::string_view name = e->d_name;
        if (IsHidden(name) || !MatchPattern(last, name)) continue;
        int ignored = 0;
        if (TestOne(dir + "/" + std::string(name), ignored)) {
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

bool FileExists(const std::string& path) {
    int err = 0;
    return Exists(path, err);
}

bool FileExists(const std::string& path, util::PendingError& pending) {
    pending.Clear();
    int err = 0;
    const bool found = Exists(path, err);
    if (err != 0) pending.Set(util::FailureFromErrno(err, path));
    return found;
}

}  // namespace lorvane::platform
