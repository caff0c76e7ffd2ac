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

// Ordinary visible files only, the last name a pattern; a plain "no" for what is missing,
// a pending failure (an earlier one cleared) for what cannot be tested.
TEST(Files, FileExistsFindsOnlyOrdinaryVisibleFiles) {
    TempDir dir;
    fs::create_directories(dir / "odd" / "folder.zip");
    for (const char* name : {"mame", ".hidden", "pacman.zip", "odd/.secret.zip"}) WriteFile(dir / name, "x");
    fs::create_symlink(dir / "loop", dir / "loop");
    const std::tuple<std::string, bool, std::int32_t> cases[] = {
        {"mame", true, 0}, {".hidden", false, 0}, {"odd", false, 0}, {"p*.zip", true, 0}, {"odd/*.zip", false, 0},
        {"loop", false, ErrNo::PathFileAccessError}, {std::string(300, 'n'), false, ErrNo::BadFileName}};
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(Clean_code::FileExists((dir / name).string(), pending), found) << name;
        EXPECT_EQ(pending.number, number) << name;
    }
}

// Through a link, keeping the mode, no temporary left (failed steps: the window tests).
TEST(Files, AtomicWriteReplacesWholeContentKeepingModeAndLink) {
    TempDir dir;
    WriteFile(dir / "LVN.ini", "old");
    fs::permissions(dir / "LVN.ini", fs::perms(0640));
    fs::create_symlink(dir / "LVN.ini", dir / "link");
    WriteFileAtomically((dir / "link").string(), "[Settings]\r\nJoy=0\r\n");
    EXPECT_EQ(ReadFile(dir / "LVN.ini"), "[Settings]\r\nJoy=0\r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "link") && fs::status(dir / "LVN.ini").permissions() == fs::perms(0640));
    EXPECT_EQ(ListDir(dir.Path()), "LVN.ini link");
}

// A move across file systems failing at each step keeps the source whole and leaves nothing
// in the target (real moves, full disks, refusals and taken names: the audit tests).
TEST(Files, MoveNeverDestroysAFile) {
    TempDir dir;
    fs::create_directories(dir / "bad");
    const std::string from = (dir / "pacman.zip").string(), to = (dir / "bad/pacman.zip").string();
    const std::string content = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
    WriteFile(from, content);
    fs::permissions(from, fs::perms(0640));
    static const char* failStep = "";  // fails with failErr; every rename counts as one across file systems
    static int failErr = 0;
    SetMoveFaultHook([](const char* step, const std::string&) {
        return std::strcmp(step, failStep) == 0 ? failErr : std::strcmp(step, "rename") == 0 ? EXDEV : 0;
    });
    using enum MoveOutcome;
    const std::tuple<const char*, int, MoveOutcome, std::int32_t> cases[] = {
        {"copy", ENOSPC, Failed, ErrNo::DiskFull}, {"sync", EIO, Failed, ErrNo::DeviceIoError},
        {"place", EACCES, Failed, ErrNo::PermissionDenied}, {"syncdir", ENOSPC, Failed, ErrNo::DiskFull},
        {"unlink", EIO, Failed, ErrNo::DeviceIoError}, {"rename", EACCES, Failed, ErrNo::PermissionDenied},
        {"place", EEXIST, TargetExists, ErrNo::None}};  // the name was taken after the check
    for (const auto& [step, err, outcome, number] : cases) {
        SCOPED_TRACE(std::string(step) + " " + std::strerror(err));
        failStep = step, failErr = err;
        const MoveResult r = MoveFileNoReplace(from, to);
        EXPECT_EQ(std::pair(r.outcome, r.failure ? r.failure->Number() : ErrNo::None), std::pair(outcome, number));
        EXPECT_EQ(ReadFile(from) + ListDir(dir / "bad"), content) << "the source changed or something stayed";
    }
    failStep = "";
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, Moved);
    SetMoveFaultHook(nullptr);
    EXPECT_TRUE(ReadFile(to) == content && fs::status(to).permissions() == fs::perms(0640));
    EXPECT_EQ(ListDir(dir.Path()), "bad") << "the source or a temporary stayed";
}

}  // namespace
}  // namespace lorvane::test
