#include "file_exists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using Clean_code::FileExists;

class FileExistsTest : public ::testing::Test {
protected:
    std::string P(const std::string& name) const { return (dir_ / name).string(); }
    test::TempDir dir_;
};

TEST_F(FileExistsTest, OnlyOrdinaryVisibleFilesCount) {
    test::WriteFile(dir_ / "mame", "x");
    test::WriteFile(dir_ / ".hidden", "x");
    test::WriteFile(dir_ / "readonly.ini", "x");
    fs::permissions(dir_ / "readonly.ini", fs::perms::owner_read);
    fs::create_directory(dir_ / "roms");
    fs::create_symlink(dir_ / "mame", dir_ / "link");
    fs::create_symlink(dir_ / "roms", dir_ / "dirlink");
    fs::create_symlink(dir_ / "gone", dir_ / "dangling");

    EXPECT_TRUE(FileExists(P("mame")));
    EXPECT_TRUE(FileExists(P("readonly.ini")));
    EXPECT_TRUE(FileExists(P("link")));
    EXPECT_FALSE(FileExists(P(".hidden")));
    EXPECT_FALSE(FileExists(P("roms")));
    EXPECT_FALSE(FileExists(P("roms/")));
    EXPECT_FALSE(FileExists(P("dirlink")));
    EXPECT_FALSE(FileExists(P("dangling")));
    EXPECT_FALSE(FileExists(P("nosuch")));
    EXPECT_FALSE(FileExists(P("nodir/mame")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileExistsTest, LastComponentIsAPattern) {
    fs::create_directory(dir_ / "roms");
    fs::create_directory(dir_ / "roms" / "folder.zip");
    test::WriteFile(dir_ / "roms" / ".secret.zip", "x");
    EXPECT_FALSE(FileExists(P("roms/*.zip"))) << "a directory or a hidden file matched";

    test::WriteFile(dir_ / "roms" / "pacman.zip", "x");
    EXPECT_TRUE(FileExists(P("roms/*.zip")));
    EXPECT_TRUE(FileExists(P("roms/pac?an.zip")));
    EXPECT_FALSE(FileExists(P("roms/pac?.zip")));
    EXPECT_FALSE(FileExists(P("roms/*.png")));
    EXPECT_FALSE(FileExists(P("nodir/*.zip")));
}

TEST_F(FileExistsTest, PendingErrorIsClearedAndSetOnlyForRealFaults) {
    test::WriteFile(dir_ / "mame", "x");
    PendingError pending;
    pending.Set(ErrNo::ExecutableNotFound, "left over");
    EXPECT_TRUE(FileExists(P("mame"), pending));
    EXPECT_FALSE(pending.IsSet());

    // A file used as a directory, or a missing one, is a plain "no".
    pending.Set(ErrNo::InvalidArgument, "left over");
    EXPECT_FALSE(FileExists(P("mame/child"), pending));
    EXPECT_FALSE(pending.IsSet());
    EXPECT_FALSE(FileExists(P("nodir/mame"), pending));
    EXPECT_FALSE(pending.IsSet());

    // A path that cannot be tested leaves its failure pending.
    fs::create_symlink(dir_ / "loop", dir_ / "loop");
    EXPECT_FALSE(FileExists(P("loop"), pending));
    EXPECT_TRUE(pending.IsSet());
    EXPECT_FALSE(FileExists(P(std::string(300, 'n')), pending));
    EXPECT_EQ(pending.number, ErrNo::BadFileName);
}

}  // namespace
}  // namespace lorvane
