#pragma once
// Small pieces shared by the services: a descriptor that closes itself, whole
// writes, directory flushes, the directory and last component of a path, and
// the fault-injection seams of the file writers.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace lorvane::platform::posix {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    int Close() {
        int rc = 0;
        if (fd_ >= 0) rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

inline void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Keeps a descriptor off 0, 1 and 2 (close-on-exec), which wiring a child's
// standard streams would overwrite. Takes the descriptor; returns the one to
// use, or -1 with errno set (the descriptor given is closed either way).
inline int AboveStdio(int fd) {
    if (fd < 0 || fd > 2) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    const int err = errno;
    ::close(fd);
    errno = err;
    return moved;
}

// Writes all of data, going on after interruptions and short writes; false
// with errno set on failure.
inline bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a rename in dir durable; best effort, for callers past the point of no return.
inline void SyncDirectory(const std::string& dir) {
    Fd dfd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dfd.Get() >= 0) ::fsync(dfd.Get());
}

inline std::string DirOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

inline std::string BaseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace lorvane::platform::posix
