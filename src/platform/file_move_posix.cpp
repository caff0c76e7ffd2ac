#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/fault_hooks.h"
#include "platform/file_move.h"
#include "platform/posix_file.h"

namespace lorvane::platform {
namespace {

using posix::BaseOf;
using posix::DirOf;
using posix::Fd;
using posix::SyncDirectory;

MoveResult Moved() { return {MoveOutcome::Moved, std::nullopt}; }
MoveResult TargetExists() { return {MoveOutcome::TargetExists, std::nullopt}; }
MoveResult Failed(int err, const std::string& from, const std::string& to) {
    return {MoveOutcome::Failed, util::FailureFromErrno(err, "moving " + from + " to " + to)};
}

// Renaming flags that the file system does not know.
bool FlagsUnsupported(int err) { return err == EINVAL || err == ENOSYS || err == ENOTSUP; }

// Gives `from` the name `to` unless that name is taken. 0 or an errno (EEXIST
// when taken). Without RENAME_NOREPLACE a hard link does the same: it fails
// rather than replace, and the old name is removed afterwards.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int err = errno;
    if (!FlagsUnsupported(err)) return err;
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) != 0) {
        const int e = errno;
        ::unlink(to.c_str());  // the new link names our own file: undo it
        return e;
    }
    return 0;
}

int SyncDirectoryChecked(const std::string& dir) {
    Fd dfd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dfd.Get() < 0) return errno;
    if (::fsync(dfd.Get()) != 0 && errno != EINVAL) return errno;  // EINVAL: cannot be synced
    return 0;
}

int CopyContent(int in, int out) {
    std::vector<char> buf(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return 0;
        if (!posix::WriteAll(out, buf.data(), static_cast<std::size_t>(n))) return errno;
    }
}

// Another file system: copy, flush, name the copy, and only then let go of
// the source. Until the last step the source is untouched.
MoveResult MoveAcross(const std::string& from, const std::string& to) {
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) return TargetExists();

    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0) return Failed(errno, from, to);
    struct stat src {};
    if (::fstat(in.Get(), &src) != 0) return Failed(errno, from, to);
    if (!S_ISREG(src.st_mode)) return Failed(EINVAL, from, to);

    const std::string dir = DirOf(to);
    // Hidden, so that no existence test takes the half-made copy for a set.
    std::string tmp = dir + "/." + BaseOf(to) + ".move-XXXXXX";
    int err = fault::OnMove("copy", to);
    Fd out(err ? -1 : ::mkostemp(tmp.data(), O_CLOEXEC));
    if (err == 0 && out.Get() < 0) err = errno;
    if (err != 0) return Failed(err, from, to);

    auto dropCopy = [&](int e) {
        out.Close();
        ::unlink(tmp.c_str());
        return Failed(e, from, to);
    };

    if (::fchmod(out.Get(), src.st_mode & 07777) != 0) return dropCopy(errno);
    if ((err = CopyContent(in.Get(), out.Get())) != 0) return dropCopy(err);
    const struct timespec times[2] = {src.st_atim, src.st_mtim};
    ::futimens(out.Get(), times);  // only nice to have
    if ((err = fault::OnMove("sync", tmp)) != 0) return dropCopy(err);
    if (::fsync(out.Get()) != 0) return dropCopy(errno);
    if (out.Close() != 0) return dropCopy(errno);

    if ((err = fault::OnMove("place", to)) == 0) err = RenameNoReplace(tmp, to);
    if (err != 0) {
        ::unlink(tmp.c_str());
        return err == EEXIST ? TargetExists() : Failed(err, from, to);
    }

    // From here on the copy bears the final name; a failure takes it back.
    auto dropPlaced = [&](int e) {
        ::unlink(to.c_str());
        SyncDirectory(dir);
        return Failed(e, from, to);
    };
    if ((err = fault::OnMove("syncdir", dir)) == 0) err = SyncDirectoryChecked(dir);
    if (err != 0) return dropPlaced(err);
    if ((err = fault::OnMove("unlink", from)) == 0 && ::unlink(from.c_str()) != 0) err = errno;
    if (err != 0) return dropPlaced(err);
    SyncDirectory(DirOf(from));
    return Moved();
}

}  // namespace

MoveResult MoveFileNoReplace(const std::string& from, const std::string& to) {
    int err = fault::OnMove("rename", to);
    if (err == 0) {
        // A rename leaves the file in exactly one place even after a crash, so
        // it is not synced: that would cost more than the rest of the move.
        err = RenameNoReplace(from, to);
        if (err == 0) return Moved();
    }
    if (err == EEXIST) return TargetExists();
    if (err == EXDEV) return MoveAcross(from, to);
    return Failed(err, from, to);
}

}  // namespace lorvane::platform
