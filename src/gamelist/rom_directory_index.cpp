#include "rom_directory_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>

#include "file_exists.h"

namespace lorvane {
namespace {

constexpr std::string_view kZip = ".zip";

// A name the directory listing can only answer when lookups compare names byte
// for byte. On the local file systems below they do, unless the directory is
// marked case-insensitive; anywhere else (FAT, NTFS, network and FUSE file
// systems, ...) a lookup may find a file under a name the listing never shows.
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

std::size_t HashOf(std::string_view s) { return std::hash<std::string_view>{}(s); }

}  // namespace

RomDirectoryIndex::RomDirectoryIndex(std::string romDir) : romDir_(std::move(romDir)) {
    const std::size_t slash = romDir_.rfind('/');
    prefix_ = slash == std::string::npos ? romDir_ : romDir_.substr(slash + 1);
    // A NUL cannot be passed to the system, and a pattern character in the
    // file name part makes every test a pattern match: leave both to FileExists.
    if (romDir_.find('\0') != std::string::npos || prefix_.find_first_of("*?") != std::string::npos) {
        mode_ = Mode::PerName;
        return;
    }
    ReadDirectory();
}

void RomDirectoryIndex::ReadDirectory() {
    const std::size_t slash = romDir_.rfind('/');
    const std::string dir =
        slash == std::string::npos ? "." : romDir_.substr(0, slash == 0 ? 1 : slash);

    DIR* d = opendir(dir.c_str());
    if (!d) {
        // Missing, or not a directory: no path below it names a file. Anything
        // else (a directory that may be searched but not listed, no descriptors
        // left, ...) is answered name by name.
        mode_ = (errno == ENOENT || errno == ENOTDIR) ? Mode::Absent : Mode::PerName;
        return;
    }
    const int fd = dirfd(d);
    // A directory that may be listed but not searched lets no file in it be
    // tested, though its names show.
    if (faccessat(fd, ".", X_OK, AT_EACCESS) != 0 || !LookupsAreExact(fd)) {
        closedir(d);
        mode_ = Mode::PerName;
        return;
    }

    errno = 0;
    while (const dirent* e = readdir(d)) {
        const std::string_view name = e->d_name;
        // Hidden files never count as present.
        if (name.empty() || name.front() == '.') continue;
        if (name.size() < prefix_.size() + kZip.size() || !name.starts_with(prefix_) ||
            !name.ends_with(kZip))
            continue;
        bool ordinary = false;
        if (e->d_type == DT_REG) {
            ordinary = true;
        } else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            // Links are followed; a dangling one names no file.
            struct stat st {};
            ordinary = fstatat(fd, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (ordinary) Add(name.substr(prefix_.size(), name.size() - prefix_.size() - kZip.size()));
        errno = 0;
    }
    const int readError = errno;
    closedir(d);
    if (readError != 0) {
        names_.clear();
        offsets_.clear();
        mode_ = Mode::PerName;
        return;
    }
    BuildTable();
    mode_ = Mode::Indexed;
}

void RomDirectoryIndex::Add(std::string_view stem) {
    if (offsets_.empty()) offsets_.push_back(0);
    names_.append(stem);
    offsets_.push_back(static_cast<std::uint32_t>(names_.size()));
}

void RomDirectoryIndex::BuildTable() {
    const std::size_t count = offsets_.empty() ? 0 : offsets_.size() - 1;
    std::size_t slots = 16;
    while (slots < count * 2) slots *= 2;
    table_.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view stem(names_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
        std::size_t slot = HashOf(stem) & mask;
        while (table_[slot] != 0) slot = (slot + 1) & mask;
        table_[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

bool RomDirectoryIndex::Find(std::string_view stem) const {
    const std::size_t mask = table_.size() - 1;
    for (std::size_t slot = HashOf(stem) & mask; table_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t i = table_[slot] - 1;
        const std::uint32_t begin = offsets_[i], end = offsets_[i + 1];
        if (end - begin == stem.size() && std::memcmp(names_.data() + begin, stem.data(), stem.size()) == 0)
            return true;
    }
    return false;
}

bool RomDirectoryIndex::TestOne(std::string_view name) const {
    std::string path;
    path.reserve(romDir_.size() + name.size() + kZip.size());
    path.append(romDir_).append(name).append(kZip);
    return Clean_code::FileExists(path);
}

bool RomDirectoryIndex::Contains(std::string_view name) const {
    if (mode_ == Mode::PerName) return TestOne(name);
    // A NUL ends no real name; a pattern, a name reaching into a subdirectory or
    // a path too long for the system is what the single test is for.
    bool single = romDir_.size() + name.size() + kZip.size() >= PATH_MAX;
    for (const char c : name) {
        if (c == '\0') return false;
        if (c == '*' || c == '?' || c == '/') single = true;
    }
    if (single) return TestOne(name);
    if (mode_ == Mode::Absent) return false;
    return Find(name);
}

}  // namespace lorvane
