#include "platform/file_identity.h"

namespace lorvane::platform {

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    using Kind = FileIdentity::Kind;
    if (a.kind == Kind::Unknown || b.kind == Kind::Unknown || a.kind != b.kind) return false;
    return a.kind == Kind::Absent ||
           (a.device == b.device && a.inode == b.inode && a.size == b.size &&
            a.mtimeSeconds == b.mtimeSeconds && a.mtimeNanoseconds == b.mtimeNanoseconds);
}

}  // namespace lorvane::platform
