#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/fault_hooks.h"
#include "platform/file_io.h"
#include "platform/posix_file.h"

namespace lorvane::platform {
namespace {

using posix::BaseOf;
using posix::DirOf;
using posix::Fd;
using posix::WriteAll;

// A link is written through to its target rather than replaced by a file.
std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char buf[PATH_MAX];
        if (realpath(path.c_str(), buf)) return buf;
    }
    return path;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    if (const int injected = fault::OnRead(path)) throw util::FailureFromErrno(injected, path);
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) throw util::FailureFromErrno(errno, path);
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0) throw util::FailureFromErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        throw util::Failure(util::ErrNo::PathFileAccessError, path + ": is a directory");
    std::string content;
    if (S_ISREG(st.st_mode) && st.st_size > 0)
        content.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw util::FailureFromErrno(errno, path);
        }
        if (n == 0) break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    return content;
}

void WriteFileAtomically(const std::string& requestedPath, const std::string& content) {
    const std::string path = ResolveLink(requestedPath);
    const std::string dir = DirOf(path);

    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode))
        throw util::Failure(util::ErrNo::PathFileAccessError, path + ": is a directory");

    // Hidden, so that no existence test ever takes it for the real file.
    std::string tmp = dir + "/." + BaseOf(path) + ".tmp-XXXXXX";
    int err = fault::OnWrite("open", path);
    Fd fd(err ? -1 : mkostemp(tmp.data(), O_CLOEXEC));
    if (err == 0 && fd.Get() < 0) err = errno;
    if (err != 0) throw util::FailureFromErrno(err, path);

    auto fail = [&](int e) {
        fd.Close();
        ::unlink(tmp.c_str());
        throw util::FailureFromErrno(e, path);
    };

    // Keep the mode of the file being replaced; a new file gets the usual one.
    mode_t mode = 0666;
    if (hadOld) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd.Get(), mode) != 0) fail(errno);

    if ((err = fault::OnWrite("write", path)) != 0) fail(err);
    if (!WriteAll(fd.Get(), content.data(), content.size())) fail(errno);
    if ((err = fault::OnWrite("sync", path)) != 0) fail(err);
    if (::fsync(fd.Get()) != 0) fail(errno);
    if (fd.Close() != 0) fail(errno);
    if ((err = fault::OnWrite("rename", path)) != 0) fail(err);
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        throw util::FailureFromErrno(e, path);
    }
    posix::SyncDirectory(dir);  // makes the rename itself durable
}

}  // namespace lorvane::platform
