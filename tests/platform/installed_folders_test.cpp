// The installed program's folders (XDG_DATA_HOME, HOME) and the command-name
// lookup its emulator is found by.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/program_search.h"
#include "platform/user_folders.h"
#include "support/scoped_variable.h"
#include "support/temp_dir.h"
#include "support/thrown.h"

namespace lorvane::platform {
namespace {

namespace fs = std::filesystem;
using namespace test;

void WriteProgram(const fs::path& path, fs::perms perms = fs::perms::owner_all) {
    WriteFile(path, "#!/bin/sh\n");
    fs::permissions(path, perms);
}

TEST(InstalledFolders, TheDataFolderFollowsXdgDataHomeElseHome) {
    EXPECT_EQ(UserDataFolder("/data", "/home/ann", "lorvane"), "/data/lorvane");
    EXPECT_EQ(UserDataFolder("/data/", "/home/ann", "lorvane"), "/data/lorvane");
    // Unset, empty or relative: the rules' default under the home.
    for (const std::optional<std::string>& ignored :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("data")})
        EXPECT_EQ(UserDataFolder(ignored, "/home/ann", "lorvane"),
                  "/home/ann/.local/share/lorvane");

    for (const char* under : {"/usr", "/usr/", "/usr/share/lorvane", "//usr/games", "/usr//x"})
        EXPECT_TRUE(IsUnderUsr(under)) << under;
    for (const char* outside : {"/usr2", "/home/usr", "/usrlocal/x", "/", "/root/.local/share"})
        EXPECT_FALSE(IsUnderUsr(outside)) << outside;
}

// Made on the first start, private to the user; HOME set from the password
// database when missing, so the emulator gets the same home.
TEST(InstalledFolders, PreparedFromTheEnvironment) {
    TempDir home, data;
    {
        ScopedVariable homeVar("HOME", home.Str());
        ScopedVariable dataVar("XDG_DATA_HOME", std::nullopt);
        const InstalledFolders folders = PrepareInstalledFolders("lorvane");
        EXPECT_EQ(folders.home, home.Str());
        EXPECT_EQ(folders.appDir, home.Str() + "/.local/share/lorvane");
        ASSERT_TRUE(fs::is_directory(folders.appDir));
        struct stat st {};
        ASSERT_EQ(::stat(folders.appDir.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        // Made already: the second start finds it.
        EXPECT_EQ(PrepareInstalledFolders("lorvane").appDir, folders.appDir);
    }
    {
        ScopedVariable homeVar("HOME", home.Str() + "/");
        ScopedVariable dataVar("XDG_DATA_HOME", data.Str());
        const InstalledFolders folders = PrepareInstalledFolders("lorvane");
        EXPECT_EQ(folders.home, home.Str());
        EXPECT_EQ(folders.appDir, data.Str() + "/lorvane");
        EXPECT_TRUE(fs::is_directory(data / "lorvane"));
    }
    {
        ScopedVariable homeVar("HOME", std::nullopt);
        ScopedVariable dataVar("XDG_DATA_HOME", data.Str());
        const InstalledFolders folders = PrepareInstalledFolders("lorvane");
        ASSERT_FALSE(folders.home.empty());
        EXPECT_EQ(EnvironmentVariable("HOME"), folders.home);
    }
}

// Nothing is made, and the message says which folder and why.
TEST(InstalledFolders, AFolderThatCannotBeMadeIsToldAndNothingIsWritten) {
    TempDir home;
    WriteFile(home / "blocked", "a file, not a folder");
    ScopedVariable homeVar("HOME", home.Str());
    {
        ScopedVariable dataVar("XDG_DATA_HOME", home.Str() + "/blocked");
        const std::string why = FailureText([] { PrepareInstalledFolders("lorvane"); });
        EXPECT_NE(why.find(home.Str() + "/blocked/lorvane cannot be made"), std::string::npos)
            << why;
    }
    {
        ScopedVariable dataVar("XDG_DATA_HOME", "/usr/share");
        const std::string why = FailureText([] { PrepareInstalledFolders("lorvane"); });
        EXPECT_NE(why.find("/usr/share/lorvane lies under /usr"), std::string::npos) << why;
        EXPECT_FALSE(fs::exists("/usr/share/lorvane"));
    }
    EXPECT_EQ(ListDir(home.Path()), "blocked");

    ScopedVariable missingHome("HOME", home.Str() + "/gone");
    ScopedVariable dataVar("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(FailureText([] { PrepareInstalledFolders("lorvane"); }),
              "The home folder " + home.Str() + "/gone is not there.");
    EXPECT_FALSE(fs::exists(home / "gone"));
}

TEST(ProgramSearch, ABareNameIsLookedUpOnThePathThenInTheExtraFolders) {
    TempDir first, second, games;
    WriteProgram(second / "mame");
    WriteProgram(games / "mame");
    WriteProgram(games / "only-in-games");
    WriteProgram(first / "mame", fs::perms::owner_read | fs::perms::owner_write);  // not runnable
    fs::create_directories(first / "mame2");  // a folder, not a program

    const std::string path = first.Str() + "::" + second.Str() + ":";
    EXPECT_EQ(FindProgram("mame", path, {games.Str()}), second.Str() + "/mame");
    EXPECT_EQ(FindProgram("only-in-games", path, {games.Str()}), games.Str() + "/only-in-games");
    EXPECT_EQ(FindProgram("mame2", path, {games.Str()}), std::nullopt);
    EXPECT_EQ(FindProgram("mame", "", {games.Str()}), games.Str() + "/mame");
    EXPECT_EQ(FindProgram("nosuch", path, {games.Str()}), std::nullopt);
    EXPECT_EQ(FindProgram("", path, {games.Str()}), std::nullopt);
}

// A path is taken as it stands, but only a full one: a relative path would
// depend on the folder the program was started in.
TEST(ProgramSearch, APathIsTakenAsItStandsWhenAbsolute) {
    TempDir dir;
    WriteProgram(dir / "mame");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    EXPECT_EQ(FindProgram(dir.Str() + "/mame", "", {}), dir.Str() + "/mame");
    EXPECT_EQ(FindProgram("./mame", dir.Str(), {}), std::nullopt);
    EXPECT_EQ(FindProgram(dir.Str() + "/nosuch", dir.Str(), {}), std::nullopt);
    EXPECT_EQ(FindProgram(dir.Str(), "", {}), std::nullopt);
    // An empty PATH entry is not the working folder.
    EXPECT_EQ(FindProgram("mame", ":", {}), std::nullopt);
    fs::current_path(previous);
}

}  // namespace
}  // namespace lorvane::platform
