#pragma once
// A second file system for tests that cross one, or fill one: a small tmpfs
// mounted on a fresh temporary directory. Mounting needs root (and Linux); Mounted() says
// whether it worked and Why() why not.
#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace lorvane::test {

class TmpfsMount {
public:
    explicit TmpfsMount(const std::string& size = "16m") {
#ifdef _WIN32
        (void)size;
        why_ = "Windows has no tmpfs";
#else
        if (::geteuid() != 0) {
            why_ = "mounting a tmpfs needs root";
            return;
        }
        if (::mount("tmpfs", dir_.Str().c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0) {
            why_ = std::string("mount -t tmpfs failed: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
#endif
    }
    ~TmpfsMount() {
#ifndef _WIN32
        if (mounted_) ::umount2(dir_.Str().c_str(), MNT_DETACH);
#endif
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    const std::filesystem::path& Path() const { return dir_.Path(); }
    std::string Str() const { return dir_.Str(); }

private:
    TempDir dir_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace lorvane::test
