#pragma once
// A folder in which no file can be made, whoever runs the test: for root (who
// writes past any mode bits) a read-only tmpfs mounted on it, for anyone else
// a folder without write permission. Windows has no such folder for a test to
// make (its read-only attribute does not stop new files); Made() says whether
// it worked and Why() why not.
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

class ReadOnlyFolder {
public:
    ReadOnlyFolder() {
#ifdef _WIN32
        why_ = "Windows lets a program make files in a read-only folder";
#else
        if (::geteuid() != 0) {
            made_ = ::chmod(dir_.Str().c_str(), 0555) == 0;
            if (!made_) why_ = std::string("chmod failed: ") + std::strerror(errno);
            return;
        }
        if (::mount("tmpfs", dir_.Str().c_str(), "tmpfs", MS_RDONLY, "size=1m") != 0) {
            why_ = std::string("mount -o ro -t tmpfs failed: ") + std::strerror(errno);
            return;
        }
        made_ = mounted_ = true;
#endif
    }
    ~ReadOnlyFolder() {
#ifndef _WIN32
        if (mounted_) ::umount2(dir_.Str().c_str(), MNT_DETACH);
        ::chmod(dir_.Str().c_str(), 0755);
#endif
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Made() const { return made_; }
    const std::string& Why() const { return why_; }
    std::string Str() const { return dir_.Str(); }

private:
    TempDir dir_;
    bool made_ = false;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace lorvane::test
