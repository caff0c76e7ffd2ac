#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/directory_listing.h"

namespace lorvane::platform {
namespace {

// On the local file systems below lookups compare names byte for byte, unless
// the directory is marked case-insensitive; anywhere else (FAT, NTFS, network
// and FUSE file systems, ...) a lookup may find a file the listing names otherwise.
bool LookupsAreExact(int fd) {
    struct statfs fs {};
    if (fstatfs(fd, &fs) != 0) return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0xEF53UL:      // ext2, ext3, ext4
        case 0x9123683EUL:  // btrfs
        case 0x58465342UL:  // xfs
        case 0x01021994UL:  // tmpfs
        case 0x858458F6UL:  // ramfs
        case 0x794C7630UL:  // overlayfs
        case 0x2FC12FC1UL:  // zfs
        case 0xF2F52010UL:  // f2fs
        case 0xCA451A4EUL:  // bcachefs
        case 0x52654973UL:  // reiserfs
        case 0x73717368UL:  // squashfs
        case 0xE0F5E1E2UL:  // erofs
            break;
        default:
            return false;
    }
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0) return false;
    return true;
}

}  // namespace

DirectoryListing ListOrdinaryFiles(const std::string& dir, std::string_view prefix,
                                   std::string_view suffix,
                                   const std::function<void(std::string_view stem)>& add) {
    DIR* d = opendir(dir.c_str());
    if (!d) {
        // Missing, or not a directory: no path below it names a file. Anything
        // else (a directory that may be searched but not listed, no descriptors
        // left, ...) is answered name by name.
        return (errno == ENOENT || errno == ENOTDIR) ? DirectoryListing::Absent
                                                     : DirectoryListing::NotListable;
    }
    const int fd = dirfd(d);
    // A directory that may be listed but not searched lets no file in it be
    // tested, though its names show.
    if (faccessat(fd, ".", X_OK, AT_EACCESS) != 0 || !LookupsAreExact(fd)) {
        closedir(d);
        return DirectoryListing::NotListable;
    }

    errno = 0;
    while (const dirent* e = readdir(d)) {
        const std::string_view name = e->d_name;
        // Hidden files never count as present.
        if (name.empty() || name.front() == '.') continue;
        if (name.size() < prefix.size() + suffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(suffix))
            continue;
        bool ordinary = false;
        if (e->d_type == DT_REG) {
            ordinary = true;
        } else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            // Links are followed; a dangling one names no file.
            struct stat st {};
            ordinary = fstatat(fd, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (ordinary) add(name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()));
        errno = 0;
    }
    const int readError = errno;
    closedir(d);
    return readError == 0 ? DirectoryListing::Listed : DirectoryListing::NotListable;
}

}  // namespace lorvane::platform
