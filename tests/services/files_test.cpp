// File services: existence tests, atomic writes, and moves that never destroy a file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "file_exists.h"
#include "file_io.h"
#include "file_move.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;

// Fails one named step with one errno; every rename counts as one across file systems.
const char* g_step = "";
int g_err = 0;
int Hook(const char* step, const std::string&) {
    return std::strcmp(step, g_step) == 0 ? g_err : std::strcmp(step, "rename") == 0 ? EXDEV : 0;
}

class FilesTest : public ::testing::Test {
protected:
    void TearDown() override { SetMoveFaultHook(nullptr); }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }
    TempDir dir_;
};

// Ordinary visible files only, the last name a pattern; a plain "no" for what is
// missing, a pending failure (an earlier one cleared) for what cannot be tested.
TEST_F(FilesTest, FileExistsFindsOnlyOrdinaryVisibleFiles) {
    fs::create_directories(dir_ / "odd" / "folder.zip");
    for (const char* name : {"mame", ".hidden", "pacman.zip", "odd/.secret.zip"}) WriteFile(dir_ / name, "x");
    fs::create_symlink(dir_ / "mame", dir_ / "link");
    fs::create_symlink(dir_ / "gone", dir_ / "dangling");
    fs::create_symlink(dir_ / "loop", dir_ / "loop");
    const std::tuple<std::string, bool, std::int32_t> cases[] = {
        {"mame", true, 0}, {"link", true, 0}, {".hidden", false, 0}, {"odd", false, 0}, {"dangling", false, 0},
        {"mame/child", false, 0}, {"p*.zip", true, 0}, {"pac?.zip", false, 0}, {"odd/*.zip", false, 0},
        {"loop", false, ErrNo::PathFileAccessError}, {std::string(300, 'n'), false, ErrNo::BadFileName},
    };
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(Clean_code::FileExists(P(name), pending), found) << name;
        EXPECT_EQ(pending.number, number) << name;
        EXPECT_EQ(Clean_code::FileExists(P(name)), found) << name;
    }
}

TEST_F(FilesTest, AtomicWriteReplacesWholeContentKeepingModeAndLink) {
    const fs::path file = dir_ / "LVN.ini";
    WriteFile(file, std::string(10000, 'x'));
    fs::permissions(file, fs::perms(0640));
    fs::create_symlink(file, dir_ / "link");
    const std::string content("[Settings]\r\nJoy=0\r\n\0bin\n", 24);
    WriteFileAtomically(P("link"), content);
    EXPECT_EQ(ReadWholeFile(file.string()), content);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_THROW(WriteFileAtomically(dir_.Str(), "x"), Failure);
    EXPECT_EQ(ListDir(dir_.Path()), "LVN.ini link") << "a temporary was left";
}

// Moves across file systems are forced by the hook; a real one is made by the audit tests.
TEST_F(FilesTest, MoveNeverDestroysAFile) {
    fs::create_directories(dir_ / "bad");
    const std::string from = P("pacman.zip"), to = P("bad/pacman.zip");
    const std::string content = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
    WriteFile(from, content);
    fs::permissions(from, fs::perms(0640));
    SetMoveFaultHook(&Hook);
    using enum MoveOutcome;
    const std::tuple<const char*, int, MoveOutcome, std::int32_t> cases[] = {
        {"copy", ENOSPC, Failed, ErrNo::DiskFull}, {"copy", EACCES, Failed, ErrNo::PermissionDenied},
        {"sync", EIO, Failed, ErrNo::DeviceIoError}, {"place", EIO, Failed, ErrNo::DeviceIoError},
        {"syncdir", EIO, Failed, ErrNo::DeviceIoError}, {"unlink", EIO, Failed, ErrNo::DeviceIoError},
        {"rename", EACCES, Failed, ErrNo::PermissionDenied},
        {"place", EEXIST, TargetExists, ErrNo::None},  // the name was taken after the check
    };
    for (const auto& [step, err, outcome, number] : cases) {
        SCOPED_TRACE(std::string(step) + " " + std::strerror(err));
        g_step = step, g_err = err;
        const MoveResult r = MoveFileNoReplace(from, to);
        EXPECT_EQ(r.outcome, outcome);
        EXPECT_EQ(r.failure ? r.failure->Number() : ErrNo::None, number);
        EXPECT_EQ(ReadFile(from), content);
        EXPECT_EQ(ListDir(dir_ / "bad"), "") << "neither the copy nor a temporary stays";
    }
    g_step = "";
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, Moved);
    EXPECT_EQ(ReadFile(to), content);
    EXPECT_EQ(fs::status(to).permissions(), fs::perms(0640));
    EXPECT_EQ(ListDir(dir_.Path()), "bad") << "the source or a temporary stayed";
    WriteFile(from, "newer");
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, TargetExists);
    EXPECT_EQ(ReadFile(from) + ReadFile(to), "newer" + content);
    const MoveResult missing = MoveFileNoReplace(P("nosuch.zip"), P("bad/other.zip"));
    EXPECT_EQ(missing.failure ? missing.failure->Number() : ErrNo::None, ErrNo::FileNotFound);
}

}  // namespace
}  // namespace lorvane::test
