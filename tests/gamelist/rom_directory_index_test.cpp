#include "rom_directory_index.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "file_exists.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using namespace std::literals;

const std::vector<std::string> kNames = {
    "real", "link", "dangle", "dir", "dirlink", ".hid", "hid", "fifo", "upper", "UPPER", "sub/inner", "sub",
    "full", ".dot", "pat*", "pa?1", "zz*", "", "nosuch", "../roms/real", "real.zip", "Real", "re\0al"s, "plain"};

// "read:" or "per name:" and the names found; "differs on X" when an answer is not FileExists's.
std::string Check(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string found = index.ReadInOneGo() ? "read:" : "per name:";
    for (const auto& name : kNames) {
        if (index.Contains(name) != Clean_code::FileExists(dir + name + ".zip")) return "differs on " + name;
        if (index.Contains(name)) found += " " + name;
    }
    return found;
}

// Run as nobody in a child when root, who may list and search anything.
bool AsOrdinaryUser(const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    const pid_t pid = fork();
    if (pid == 0) _exit(setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The index must answer as FileExists does: for every kind of entry, for a
// directory given without its final "/", and for one that may not be listed
// or not be searched (then each name is tested on its own).
TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    test::TempDir t;
    const std::string roms = (t / "roms").string();
    std::filesystem::create_directories(roms + "/dir.zip");
    std::filesystem::create_directories(roms + "/sub");
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip", "pre.dot.zip",
                             "pat1.zip", "plain"})
        test::WriteFile(roms + "/" + name, "");
    std::filesystem::create_symlink("real.zip", roms + "/link.zip");
    std::filesystem::create_symlink("missing.zip", roms + "/dangle.zip");
    std::filesystem::create_symlink("dir.zip", roms + "/dirlink.zip");
    ASSERT_EQ(mkfifo((roms + "/fifo.zip").c_str(), 0644), 0);

    EXPECT_EQ(Check(roms + "/"), "read: real link sub/inner pat* pa?1 ../roms/real");
    EXPECT_EQ(Check(roms + "/pre"), "read: full .dot");
    for (const std::string& other : {roms + "//", roms + "/missing/", roms + "/real.zip/", roms + "/.",
                                     roms + "/pa*", "/"s})
        EXPECT_FALSE(Check(other).starts_with("differs")) << other << ": " << Check(other);

    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    ASSERT_EQ(chmod(roms.c_str(), 0311), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return Check(roms + "/") == "per name: real link sub/inner ../roms/real"; }));
    ASSERT_EQ(chmod(roms.c_str(), 0644), 0);
    EXPECT_TRUE(AsOrdinaryUser([&] { return Check(roms + "/") == "per name:"; }));
    chmod(roms.c_str(), 0755);
}

}  // namespace
}  // namespace lorvane
