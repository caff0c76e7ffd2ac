#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_exists.h"
#include "rom_directory_index.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using test::TempDir;
using test::WriteFile;

// A ROM directory holding every kind of entry a name can meet.
void MakeRoms(const fs::path& roms) {
    fs::create_directories(roms / "dir.zip");
    fs::create_directories(roms / "sub");
    for (const char* name : {"real.zip", ".hid.zip", "upper.ZIP", "sub/inner.zip", "prefull.zip",
                             "pre.dot.zip", "pat1.zip", "plain"})
        WriteFile(roms / name, "");
    fs::create_symlink("real.zip", roms / "link.zip");
    fs::create_symlink("missing.zip", roms / "dangle.zip");
    fs::create_symlink("dir.zip", roms / "dirlink.zip");
    ASSERT_EQ(mkfifo((roms / "fifo.zip").c_str(), 0644), 0);
}

const std::vector<std::string> kNames = {
    "real", "link", "dangle", "dir", "dirlink", ".hid", "hid", "fifo", "upper", "UPPER",
    "sub/inner", "sub", "full", ".dot", "pat*", "pa?1", "zz*", "", "nosuch", "../roms/real",
    "real.zip", "Real", "re\0al"s, "plain"};

// Contains() for every name against the single file test.
void ExpectSameAsFileExists(const std::string& romDir, const RomDirectoryIndex& index) {
    for (const auto& name : kNames)
        EXPECT_EQ(index.Contains(name), Clean_code::FileExists(romDir + name + ".zip"))
            << "dir \"" << romDir << "\" name \"" << name << '"';
}

TEST(RomDirectoryIndex, AnswersAsTheSingleFileTest) {
    TempDir t;
    const fs::path roms = t / "roms";
    MakeRoms(roms);

    const std::string dir = roms.string() + "/";
    const RomDirectoryIndex index(dir);
    EXPECT_TRUE(index.ReadInOneGo());
    ExpectSameAsFileExists(dir, index);
    // Guard against both answering "no" to everything.
    EXPECT_TRUE(index.Contains("real"));
    EXPECT_TRUE(index.Contains("link"));
    EXPECT_TRUE(index.Contains("pat*"));
    EXPECT_TRUE(index.Contains("sub/inner"));
    EXPECT_FALSE(index.Contains("dir"));
    EXPECT_FALSE(index.Contains("dirlink"));
    EXPECT_FALSE(index.Contains("dangle"));
    EXPECT_FALSE(index.Contains("fifo"));
    EXPECT_FALSE(index.Contains(".hid"));
    EXPECT_FALSE(index.Contains("upper"));

    // A directory without its final "/" joins names to its last component.
    const RomDirectoryIndex prefixed(roms.string() + "/pre");
    EXPECT_TRUE(prefixed.Contains("full"));
    EXPECT_TRUE(prefixed.Contains(".dot"));
    ExpectSameAsFileExists(roms.string() + "/pre", prefixed);

    for (const std::string& other : {roms.string() + "//", roms.string() + "/missing/",
                                    roms.string() + "/real.zip/", roms.string() + "/.",
                                    roms.string() + "/pa*", "/"s}) {
        const RomDirectoryIndex otherIndex(other);
        ExpectSameAsFileExists(other, otherIndex);
    }
}

// Whether the directory was read in one go, then Contains() and FileExists()
// for every name, as "1"/"0" texts: "per-name 0110... 0110...".
std::string Answers(const std::string& dir) {
    const RomDirectoryIndex index(dir);
    std::string out = index.ReadInOneGo() ? "read " : "per-name ";
    for (const auto& name : kNames) out += index.Contains(name) ? '1' : '0';
    out += ' ';
    for (const auto& name : kNames) out += Clean_code::FileExists(dir + name + ".zip") ? '1' : '0';
    return out + "\n";
}

// The answers as a user without special rights sees them: root may list and
// search anything, so it asks as nobody, in a child process.
std::string AnswersAsAnOrdinaryUser(const std::vector<std::string>& dirs) {
    std::string answers;
    if (geteuid() != 0) {
        for (const auto& dir : dirs) answers += Answers(dir);
        return answers;
    }
    int fds[2];
    if (pipe(fds) != 0) return "pipe failed";
    const pid_t pid = fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        close(fds[0]);
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        for (const auto& dir : dirs) answers += Answers(dir);
        const bool written = write(fds[1], answers.data(), answers.size()) == static_cast<ssize_t>(answers.size());
        _exit(written ? 0 : 4);
    }
    close(fds[1]);
    char buf[512];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) answers.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed: " + std::to_string(status);
    return answers;
}

// A directory that may be searched but not listed, and one that may be listed
// but not searched: neither is read in one go, and every answer still matches
// the single file test.
TEST(RomDirectoryIndex, DirectoriesWithoutFullAccess) {
    TempDir t;
    const fs::path unlistable = t / "unlistable";
    const fs::path unsearchable = t / "unsearchable";
    MakeRoms(unlistable);
    MakeRoms(unsearchable);
    ASSERT_EQ(chmod(t.Path().c_str(), 0711), 0);
    ASSERT_EQ(chmod(unlistable.c_str(), 0311), 0);
    ASSERT_EQ(chmod(unsearchable.c_str(), 0644), 0);

    const std::string answers = AnswersAsAnOrdinaryUser({unlistable.string() + "/", unsearchable.string() + "/"});
    chmod(unsearchable.c_str(), 0755);
    std::vector<std::string> lines;
    for (std::size_t pos = 0, nl; (nl = answers.find('\n', pos)) != std::string::npos; pos = nl + 1)
        lines.push_back(answers.substr(pos, nl - pos));
    ASSERT_EQ(lines.size(), 2u) << answers;
    for (const auto& line : lines) {
        const std::size_t a = line.find(' '), b = line.rfind(' ');
        ASSERT_TRUE(a != std::string::npos && b > a) << line;
        EXPECT_EQ(line.substr(0, a), "per-name");
        EXPECT_EQ(line.substr(a + 1, b - a - 1), line.substr(b + 1)) << line;
    }
    // Names are still found in the one that may be searched ("real" comes first).
    EXPECT_EQ(lines[0][std::string("per-name ").size()], '1') << lines[0];
}

}  // namespace
}  // namespace lorvane
