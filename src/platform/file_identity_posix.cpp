#include <sys/stat.h>

#include <cerrno>

#include "platform/file_identity.h"

namespace lorvane::platform {

FileIdentity IdentifyFile(const std::string& path) {
    FileIdentity id;
    struct stat st {};
    if (path.find('\0') != std::string::npos) {
        id.failure = util::FailureFromErrno(EINVAL, path);
        return id;
    }
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            id.kind = FileIdentity::Kind::Absent;
        } else {
            id.failure = util::FailureFromErrno(errno, path);
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

}  // namespace lorvane::platform
