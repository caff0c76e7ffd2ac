#pragma once
// A folder on a file system of its own: a small tmpfs mounted on a fresh
// temporary directory, for tests that cross one, fill one, or cannot write to
// one. Mounting needs root (and Linux); a read-only folder is made for anyone
// else as a folder without write permission (root writes past mode bits).
// Windows has neither (its read-only attribute does not stop new files).
// Made() says whether it worked and Why() why not.
#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace lorvane::test {

class TmpfsMount {
public:
    enum Access { kWritable, kReadOnly };
    explicit TmpfsMount(const std::string& size = "16m", Access access = kWritable) {
#ifdef _WIN32
        (void)size;
        (void)access;
        why_ = "Windows has no tmpfs, and lets a program make files in a read-only folder";
#else
        if (::geteuid() != 0) {
            if (access == kWritable) {
                why_ = "mounting a tmpfs needs root";
            } else if (!(made_ = ::chmod(dir_.Str().c_str(), 0555) == 0)) {
                why_ = std::string("chmod failed: ") + std::strerror(errno);
            }
            return;
        }
        if (::mount("tmpfs", dir_.Str().c_str(), "tmpfs", access == kReadOnly ? MS_RDONLY : 0,
                    ("size=" + size).c_str()) != 0) {
            why_ = std::string("mount -t tmpfs failed: ") + std::strerror(errno);
            return;
        }
        made_ = mounted_ = true;
#endif
    }
    ~TmpfsMount() {
#ifndef _WIN32
        if (mounted_) ::umount2(dir_.Str().c_str(), MNT_DETACH);
        ::chmod(dir_.Str().c_str(), 0755);
#endif
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Made() const { return made_; }
    const std::string& Why() const { return why_; }
    const std::filesystem::path& Path() const { return dir_.Path(); }
    std::string Str() const { return dir_.Str(); }

private:
    TempDir dir_;
    bool made_ = false;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace lorvane::test
