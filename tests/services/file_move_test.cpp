// Moving a file never destroys one: a taken name is refused, and a move across
// file systems lets go of the source only once the copy is in place.
#include "file_move.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "temp_dir.h"
#include "tmpfs_mount.h"

namespace fs = std::filesystem;

namespace lorvane::test {
namespace {

// The hook fails one named step with one errno, and takes every same-disk
// rename for a move to another file system.
const char* g_failStep = nullptr;
int g_failErrno = 0;
bool g_forceAcross = false;

int Hook(const char* step, const std::string&) {
    if (g_failStep && std::strcmp(step, g_failStep) == 0) return g_failErrno;
    if (g_forceAcross && std::strcmp(step, "rename") == 0) return EXDEV;
    return 0;
}

class FileMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "roms");
        fs::create_directories(dir_ / "bad");
        WriteFile(dir_ / "roms" / "pacman.zip", content_);
        fs::permissions(dir_ / "roms" / "pacman.zip", fs::perms(0640));
        SetMoveFaultHook(&Hook);
    }
    void TearDown() override {
        SetMoveFaultHook(nullptr);
        g_failStep = nullptr;
        g_forceAcross = false;
    }
    std::string From() const { return (dir_ / "roms" / "pacman.zip").string(); }
    std::string To() const { return (dir_ / "bad" / "pacman.zip").string(); }

    TempDir dir_;
    const std::string content_ = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
};

TEST_F(FileMoveTest, WithinOneFileSystemRenamesAndRefusesATakenName) {
    const MoveResult moved = MoveFileNoReplace(From(), To());
    EXPECT_EQ(moved.outcome, MoveOutcome::Moved);
    EXPECT_FALSE(moved.failure);
    EXPECT_FALSE(fs::exists(From()));
    EXPECT_EQ(ReadFile(To()), content_);

    // The name is taken now: neither file is touched.
    WriteFile(From(), "newer");
    EXPECT_EQ(MoveFileNoReplace(From(), To()).outcome, MoveOutcome::TargetExists);
    EXPECT_EQ(ReadFile(From()), "newer");
    EXPECT_EQ(ReadFile(To()), content_);

    fs::remove(From());
    const MoveResult missing = MoveFileNoReplace(From(), (dir_ / "bad" / "other.zip").string());
    ASSERT_EQ(missing.outcome, MoveOutcome::Failed);
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(missing.failure->Number(), ErrNo::FileNotFound);
    EXPECT_NE(missing.failure->Description().find(From()), std::string::npos);
}

TEST_F(FileMoveTest, AcrossFileSystemsCopiesKeepsTheModeAndLeavesNoTemporary) {
    g_forceAcross = true;
    EXPECT_EQ(MoveFileNoReplace(From(), To()).outcome, MoveOutcome::Moved);
    EXPECT_FALSE(fs::exists(From()));
    EXPECT_EQ(ReadFile(To()), content_);
    EXPECT_EQ(fs::status(To()).permissions(), fs::perms(0640));
    EXPECT_EQ(ListDir(dir_ / "bad"), "pacman.zip");

    WriteFile(From(), "again");
    EXPECT_EQ(MoveFileNoReplace(From(), To()).outcome, MoveOutcome::TargetExists);
    EXPECT_EQ(ReadFile(From()), "again");
    EXPECT_EQ(ReadFile(To()), content_);
    EXPECT_EQ(ListDir(dir_ / "bad"), "pacman.zip");
}

TEST_F(FileMoveTest, AFailureAtAnyStepAcrossFileSystemsLeavesTheSourceAndNoCopy) {
    g_forceAcross = true;
    for (const char* step : {"copy", "sync", "place", "syncdir", "unlink"}) {
        SCOPED_TRACE(step);
        g_failStep = step;
        g_failErrno = EIO;
        const MoveResult r = MoveFileNoReplace(From(), To());
        ASSERT_EQ(r.outcome, MoveOutcome::Failed);
        ASSERT_TRUE(r.failure);
        EXPECT_EQ(r.failure->Number(), ErrNo::DeviceIoError);
        EXPECT_EQ(ReadFile(From()), content_);
        EXPECT_EQ(ListDir(dir_ / "bad"), "") << "neither the copy nor a temporary stays";
    }
    // Someone took the name between the check and the naming of the copy.
    g_failStep = "place";
    g_failErrno = EEXIST;
    EXPECT_EQ(MoveFileNoReplace(From(), To()).outcome, MoveOutcome::TargetExists);
    EXPECT_EQ(ReadFile(From()), content_);
    EXPECT_EQ(ListDir(dir_ / "bad"), "");

    g_failStep = "rename";
    g_failErrno = EACCES;
    const MoveResult denied = MoveFileNoReplace(From(), To());
    ASSERT_EQ(denied.outcome, MoveOutcome::Failed);
    EXPECT_EQ(denied.failure->Number(), ErrNo::PermissionDenied);
    EXPECT_EQ(ReadFile(From()), content_);
}

TEST_F(FileMoveTest, MovesForRealOntoAnotherFileSystem) {
    TmpfsMount other;
    if (!other.Mounted()) GTEST_SKIP() << "no second file system: " << other.Why();
    const std::string to = (other.Path() / "pacman.zip").string();
    WriteFile(other.Path() / "galaga.zip", "taken");
    WriteFile(dir_ / "roms" / "galaga.zip", "mine");

    EXPECT_EQ(MoveFileNoReplace(From(), to).outcome, MoveOutcome::Moved);
    EXPECT_FALSE(fs::exists(From()));
    EXPECT_EQ(ReadFile(to), content_);

    EXPECT_EQ(MoveFileNoReplace((dir_ / "roms" / "galaga.zip").string(), (other.Path() / "galaga.zip").string())
                  .outcome,
              MoveOutcome::TargetExists);
    EXPECT_EQ(ReadFile(other.Path() / "galaga.zip"), "taken");
    EXPECT_EQ(ReadFile(dir_ / "roms" / "galaga.zip"), "mine");
}

}  // namespace
}  // namespace lorvane::test
