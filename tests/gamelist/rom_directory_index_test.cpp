#include "rom_directory_index.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_exists.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using Clean_code::FileExists;

// A ROM directory holding every kind of entry a name can meet.
void MakeRoms(const fs::path& roms) {
    fs::create_directories(roms / "dir.zip");
    fs::create_directories(roms / "sub");
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip", "pre.dot.zip",
                             "pat1.zip", "plain"})
        test::WriteFile(roms / name, "");
    fs::create_symlink("real.zip", roms / "link.zip");
    fs::create_symlink("missing.zip", roms / "dangle.zip");
    fs::create_symlink("dir.zip", roms / "dirlink.zip");
    ASSERT_EQ(mkfifo((roms / "fifo.zip").c_str(), 0644), 0);
}

const std::vector<std::string> kNames = {
    "real", "link", "dangle", "dir", "dirlink", ".hid", "hid", "fifo", "upper", "UPPER", "sub/inner", "sub",
    "full", ".dot", "pat*", "pa?1", "zz*", "", "nosuch", "../roms/real", "real.zip", "Real", "re\0al"s, "plain"};

// The names Contains() finds, each answer checked against the single file test.
std::string Found(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string found = index.ReadInOneGo() ? "read:" : "per name:";
    for (const auto& name : kNames) {
        EXPECT_EQ(index.Contains(name), FileExists(dir + name + ".zip")) << "dir " << dir << " name " << name;
        if (index.Contains(name)) found += " " + name;
    }
    return found;
}

TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    test::TempDir t;
    const std::string roms = (t / "roms").string();
    MakeRoms(roms);
    EXPECT_EQ(Found(roms + "/"), "read: real link sub/inner pat* pa?1 ../roms/real");
    // A directory without its final "/" joins names to its last component.
    EXPECT_EQ(Found(roms + "/pre"), "read: full .dot");
    for (const std::string& other : {roms + "//", roms + "/missing/", roms + "/real.zip/", roms + "/.",
                                     roms + "/pa*", "/"s})
        Found(other);
}

// A directory that may be searched but not listed, and one that may be listed
// but not searched, as a user without special rights sees them (root may list
// and search anything, so it asks as nobody, in a child process). 0 when
// neither is read in one go and every answer matches the single file test.
int CheckAsAnOrdinaryUser(const std::vector<std::string>& dirs) {
    auto check = [&] {
        for (std::size_t i = 0; i < dirs.size(); ++i) {
            const RomDirectoryIndex index(dirs[i]);
            if (index.ReadInOneGo()) return 10 + static_cast<int>(i);
            for (const auto& name : kNames)
                if (index.Contains(name) != FileExists(dirs[i] + name + ".zip")) return 20 + static_cast<int>(i);
        }
        // Names are still found in the one that may be searched.
        return RomDirectoryIndex(dirs[0]).Contains("real") ? 0 : 30;
    };
    if (geteuid() != 0) return check();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        _exit(check());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(RomDirectoryIndex, DirectoriesWithoutFullAccess) {
    test::TempDir t;
    const fs::path unlistable = t / "unlistable", unsearchable = t / "unsearchable";
    MakeRoms(unlistable);
    MakeRoms(unsearchable);
    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    ASSERT_EQ(chmod(unlistable.c_str(), 0311), 0);
    ASSERT_EQ(chmod(unsearchable.c_str(), 0644), 0);
    EXPECT_EQ(CheckAsAnOrdinaryUser({unlistable.string() + "/", unsearchable.string() + "/"}), 0)
        << "10 + i: directory i read in one go; 20 + i: an answer differs; 30: nothing found";
    chmod(unsearchable.c_str(), 0755);
}

}  // namespace
}  // namespace lorvane
