#include <sys/stat.h>

#include <cerrno>

#include "file_identity.h"

namespace lorvane {

FileIdentity IdentifyFile(const std::string& path) {
    FileIdentity id;
    struct stat st {};
    if (path.find('\0') != std::string::npos) {
        id.failure = FailureFromErrno(EINVAL, path);
        return id;
    }
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            id.kind = FileIdentity::Kind::Absent;
        } else {
            id.failure = FailureFromErrno(errno, path);
        }
        return id;
    }
    id.kind = FileIdentity::Kind::Present;
    id.device = static_cast<std::uint64_t>(st.st_dev);
    id.inode = static_cast<std::uint64_t>(st.st_ino);
    id.size = static_cast<std::uint64_t>(st.st_size);
    id.mtimeSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    id.mtimeNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    using Kind = FileIdentity::Kind;
    if (a.kind == Kind::Unknown || b.kind == Kind::Unknown || a.kind != b.kind) return false;
    return a.kind == Kind::Absent ||
           (a.device == b.device && a.inode == b.inode && a.size == b.size &&
            a.mtimeSeconds == b.mtimeSeconds && a.mtimeNanoseconds == b.mtimeNanoseconds);
}

}  // namespace lorvane
