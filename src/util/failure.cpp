#include "util/failure.h"

#include <cerrno>
#include <cstring>

namespace lorvane::util {

Failure FailureFromErrno(int err, const std::string& what) {
    std::int32_t number = ErrNo::PathFileAccessError;
    switch (err) {
        case ENOENT:
            number = ErrNo::FileNotFound;
            break;
        case ENOTDIR:
            number = ErrNo::PathNotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            number = ErrNo::PermissionDenied;
            break;
        case ENOSPC:
#ifdef EDQUOT  // not in the Windows C runtime
        case EDQUOT:
#endif
            number = ErrNo::DiskFull;
            break;
        case EIO:
            number = ErrNo::DeviceIoError;
            break;
        case EEXIST:
            number = ErrNo::FileAlreadyExists;
            break;
        case ENAMETOOLONG:
        case EILSEQ:
            number = ErrNo::BadFileName;
            break;
        default:
            break;
    }
    return Failure(number, what + ": " + std::strerror(err));
}

}  // namespace lorvane::util
