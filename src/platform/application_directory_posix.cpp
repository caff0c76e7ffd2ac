#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/application_directory.h"
#include "util/failure.h"

namespace lorvane::platform {

std::string ApplicationDirectory() {
    std::string buf(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) throw util::FailureFromErrno(errno, "/proc/self/exe");
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            break;
        }
        buf.resize(buf.size() * 2);
    }
    const std::size_t slash = buf.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : buf.substr(0, slash);
}

void EnterDirectory(const std::string& dir) {
    if (::chdir(dir.c_str()) != 0) throw util::FailureFromErrno(errno, dir);
}

}  // namespace lorvane::platform
