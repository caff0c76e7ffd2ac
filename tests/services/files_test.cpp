// File services: existence tests, whole reads, atomic writes, and moves that
// never destroy a file.
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
using Clean_code::FileExists;

// The hook fails one named step with one errno, and takes every same-disk
// rename for a move to another file system.
const char* g_failStep = "";
int g_failErrno = 0;
bool g_forceAcross = false;

int Hook(const char* step, const std::string&) {
    if (std::strcmp(step, g_failStep) == 0) return g_failErrno;
    return g_forceAcross && std::strcmp(step, "rename") == 0 ? EXDEV : 0;
}

class FilesTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetMoveFaultHook(nullptr);
        g_failStep = "";
        g_forceAcross = false;
    }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }
    TempDir dir_;
};

TEST_F(FilesTest, FileExistsFindsOnlyOrdinaryVisibleFilesAndTakesTheLastNameAsAPattern) {
    fs::create_directories(dir_ / "roms");
    fs::create_directories(dir_ / "odd" / "folder.zip");
    for (const char* name : {"mame", ".hidden", "roms/pacman.zip", "odd/.secret.zip"}) WriteFile(dir_ / name, "x");
    fs::create_symlink(dir_ / "mame", dir_ / "link");
    fs::create_symlink(dir_ / "gone", dir_ / "dangling");
    fs::create_symlink(dir_ / "loop", dir_ / "loop");
    // A missing file, or a file taken for a directory, is a plain "no"; a path
    // that cannot be tested leaves its failure pending. An earlier one never stays.
    const std::tuple<std::string, bool, std::int32_t> cases[] = {
        {"mame", true, 0},          {"link", true, 0},           {".hidden", false, 0},
        {"roms", false, 0},         {"dangling", false, 0},      {"nosuch", false, 0},
        {"nodir/mame", false, 0},   {"mame/child", false, 0},    {"roms/*.zip", true, 0},
        {"roms/pac?an.zip", true, 0}, {"roms/pac?.zip", false, 0}, {"roms/*.png", false, 0},
        {"nodir/*.zip", false, 0},  {"odd/*.zip", false, 0},  // only a directory and a hidden file match
        {"loop", false, ErrNo::PathFileAccessError}, {std::string(300, 'n'), false, ErrNo::BadFileName},
    };
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(FileExists(P(name), pending), found) << name;
        EXPECT_EQ(pending.number, number) << name;
        EXPECT_EQ(FileExists(P(name)), found) << name;
    }
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FilesTest, AtomicWriteReplacesWholeContentKeepingModeAndLink) {
    const fs::path file = dir_ / "LVN.ini";
    WriteFile(file, std::string(10000, 'x'));
    fs::permissions(file, fs::perms(0640));
    const std::string content("[Settings]\r\nJoy=0\r\n\0bin\n", 24);
    WriteFileAtomically(file.string(), content);
    EXPECT_EQ(ReadWholeFile(file.string()), content);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(ListDir(dir_.Path()), "LVN.ini") << "a temporary was left";
    fs::create_symlink(file, dir_ / "link");  // the target is rewritten, the link stays
    WriteFileAtomically(P("link"), "new");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_EQ(ReadWholeFile(file.string()), "new");

    const std::pair<std::string, std::int32_t> failures[] = {{dir_.Str(), ErrNo::PathFileAccessError},
                                                             {P("missing.txt"), ErrNo::FileNotFound},
                                                             {P("LVN.ini/below"), ErrNo::PathNotFound}};
    for (const auto& [path, number] : failures) {
        try {
            ReadWholeFile(path);
            ADD_FAILURE() << path << ": no failure";
        } catch (const Failure& f) {
            EXPECT_EQ(f.Number(), number) << path;
        }
    }
    EXPECT_THROW(WriteFileAtomically(dir_.Str(), "x"), Failure);
    EXPECT_EQ(ListDir(dir_.Path()), "LVN.ini link");
}

// The real move onto another file system is made by the audit tests.
TEST_F(FilesTest, MoveNeverDestroysAFile) {
    fs::create_directories(dir_ / "bad");
    fs::create_directories(dir_ / "roms");
    const std::string from = P("roms/pacman.zip"), to = P("bad/pacman.zip");
    const std::string content = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
    const auto fresh = [&] {
        fs::remove(to);
        WriteFile(from, content);
        fs::permissions(from, fs::perms(0640));
    };
    SetMoveFaultHook(&Hook);
    for (const bool across : {false, true}) {
        SCOPED_TRACE(across ? "across file systems" : "within one");
        g_forceAcross = across;
        fresh();
        EXPECT_EQ(MoveFileNoReplace(from, to).outcome, MoveOutcome::Moved);
        EXPECT_FALSE(fs::exists(from));
        EXPECT_EQ(ReadFile(to), content);
        EXPECT_EQ(fs::status(to).permissions(), fs::perms(0640));
        EXPECT_EQ(ListDir(dir_ / "bad"), "pacman.zip") << "a temporary was left";

        WriteFile(from, "newer");
        EXPECT_EQ(MoveFileNoReplace(from, to).outcome, MoveOutcome::TargetExists);
        EXPECT_EQ(ReadFile(from), "newer");
        EXPECT_EQ(ReadFile(to), content);

        fs::remove(from);
        const MoveResult missing = MoveFileNoReplace(from, P("bad/other.zip"));
        ASSERT_EQ(missing.outcome, MoveOutcome::Failed);
        ASSERT_TRUE(missing.failure);
        EXPECT_EQ(missing.failure->Number(), ErrNo::FileNotFound);
        EXPECT_NE(missing.failure->Description().find(from), std::string::npos);
    }

    using enum MoveOutcome;
    const std::tuple<const char*, int, MoveOutcome, std::int32_t> cases[] = {
        {"copy", ENOSPC, Failed, ErrNo::DiskFull},     {"copy", EACCES, Failed, ErrNo::PermissionDenied},
        {"copy", EIO, Failed, ErrNo::DeviceIoError},   {"sync", EIO, Failed, ErrNo::DeviceIoError},
        {"place", EIO, Failed, ErrNo::DeviceIoError},  {"syncdir", EIO, Failed, ErrNo::DeviceIoError},
        {"unlink", EIO, Failed, ErrNo::DeviceIoError}, {"rename", EACCES, Failed, ErrNo::PermissionDenied},
        {"place", EEXIST, TargetExists, ErrNo::None},  // the name was taken after the check
    };
    fresh();
    g_forceAcross = true;
    for (const auto& [step, err, outcome, number] : cases) {
        SCOPED_TRACE(std::string(step) + " " + std::strerror(err));
        g_failStep = step;
        g_failErrno = err;
        const MoveResult r = MoveFileNoReplace(from, to);
        EXPECT_EQ(r.outcome, outcome);
        EXPECT_EQ(r.failure ? r.failure->Number() : ErrNo::None, number);
        EXPECT_EQ(ReadFile(from), content);
        EXPECT_EQ(ListDir(dir_ / "bad"), "") << "neither the copy nor a temporary stays";
    }
}

}  // namespace
}  // namespace lorvane::test
