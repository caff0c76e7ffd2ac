// The file side of the platform layer, on each system with its own cases.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/application_directory.h"
#include "platform/file_exists.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_move.h"
#include "support/native_path.h"
#include "support/temp_dir.h"
#include "support/thrown.h"
#include "util/failure.h"

namespace lorvane::platform {
namespace {

namespace fs = std::filesystem;
using namespace test;
namespace ErrNo = util::ErrNo;
using util::PendingError;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The folder of the running test program, which holds it; a folder that is not there cannot be
// entered.
TEST(Files, ApplicationDirectoryHoldsTheRunningProgram) {
    const std::string dir = ApplicationDirectory();
    const fs::path self =
        PathOf(dir) / (kProgramsHaveExtension ? "platform_tests.exe" : "platform_tests");
    EXPECT_TRUE(fs::is_regular_file(self)) << self;
    EXPECT_FALSE(IsPathSeparator(dir.back()));
    TempDir t;
    const fs::path previous = fs::current_path();
    const fs::path odd = t.Path() / u8"Mes Jeux d\u00e9j\u00e0 vus";
    fs::create_directories(odd);
    EnterDirectory(Utf8(odd));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), odd));
    fs::current_path(previous);
    EXPECT_EQ(FailureNumber([&] { EnterDirectory(Utf8(odd / "missing")); }), ErrNo::FileNotFound)
        << "entered a missing folder";
}

// Same file only when unchanged: replaced with the same size and time, rewritten, or put there
// differs.
TEST(Files, FileIdentityTellsAReplacedFile) {
    TempDir dir;
    const std::string zip = Utf8(dir / "pong.zip");
    const FileIdentity none = IdentifyFile(zip);
    for (const char* name : {"pong.zip", "other.zip"}) {
        WriteFile(dir / name, "PK");
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - 1h);
    }
    const FileIdentity first = IdentifyFile(zip);
    EXPECT_TRUE(SameFile(none, IdentifyFile(Utf8(dir / "absent"))) &&
                SameFile(first, IdentifyFile(zip)));
    fs::rename(dir / "other.zip", zip);
    const FileIdentity second = IdentifyFile(zip);
    WriteFile(zip, "PQ");
    EXPECT_FALSE(SameFile(none, first) || SameFile(first, second) ||
                 SameFile(second, IdentifyFile(zip)));
    const FileIdentity unknown = IdentifyFile(zip + "/inside");
    EXPECT_FALSE(SameFile(unknown, unknown) || !unknown.failure)
        << "what cannot be examined matches nothing";
}

// A move that crosses volumes, failing at any step, keeps the source and leaves nothing behind.
TEST(Files, AMoveFailingAtAnyStepKeepsTheSource) {
    TempDir dir;
    fs::create_directories(dir / "bad");
    const std::string from = Utf8(dir / "pacman.zip"), to = Utf8(dir / "bad" / "pacman.zip");
    const std::string content = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
    WriteFile(from, content);
    static const char* failStep = "";  // every rename counts as one across volumes
    static int failErr = 0;
    SetMoveFaultHook([](const char* step, const std::string&) {
        return std::strcmp(step, failStep) == 0   ? failErr
               : std::strcmp(step, "rename") == 0 ? EXDEV
                                                  : 0;
    });
    using enum MoveOutcome;
    const std::tuple<const char*, int, MoveOutcome, std::int32_t> cases[] = {
        {"copy", ENOSPC, Failed, ErrNo::DiskFull},
        {"sync", EIO, Failed, ErrNo::DeviceIoError},
        {"place", EACCES, Failed, ErrNo::PermissionDenied},
        {"syncdir", ENOSPC, Failed, ErrNo::DiskFull},
        {"unlink", EIO, Failed, ErrNo::DeviceIoError},
        {"rename", EACCES, Failed, ErrNo::PermissionDenied},
        {"place", EEXIST, TargetExists, ErrNo::None}};  // the name was taken after the check
    for (const auto& [step, err, outcome, number] : cases) {
        SCOPED_TRACE(std::string(step) + " " + std::strerror(err));
        failStep = step;
        failErr = err;
        const MoveResult r = MoveFileNoReplace(from, to);
        EXPECT_EQ(std::pair(r.outcome, r.failure ? r.failure->Number() : ErrNo::None),
                  std::pair(outcome, number));
        EXPECT_EQ(ReadFile(from) + ListDir(dir / "bad"), content)
            << "the source changed or something stayed";
    }
    failStep = "";
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, Moved);
    SetMoveFaultHook(nullptr);
    EXPECT_EQ(ReadFile(to), content);
    EXPECT_EQ(ListDir(dir.Path()), "bad") << "the source or a temporary stayed";
    WriteFile(from, "other");
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, TargetExists);
    EXPECT_EQ(ReadFile(to) + ReadFile(from), content + "other") << "a move replaced a file";
}

// A write failing at any step keeps the old file whole and leaves no temporary behind.
TEST(Files, AnAtomicWriteFailingAtAnyStepKeepsTheOldFile) {
    TempDir dir;
    const fs::path ini = dir.Path() / u8"Jeux \u00e0 moi" / "LVN.ini";
    fs::create_directories(ini.parent_path());
    WriteFile(ini, "old");
    static const char* failStep = "";
    static int failErr = 0;
    static int hiddenTemporaries =
        0;  // seen just before the rename, where a killed writer would stop
    SetWriteFaultHook([](const char* step, const std::string& path) {
        if (std::strcmp(step, "rename") == 0)
            for (const auto& e : fs::directory_iterator(PathOf(path).parent_path()))
                if (Utf8(e.path().filename()).starts_with(".LVN.ini.tmp-"))
                    hiddenTemporaries += FileExists(Utf8(e.path())) ? 100 : 1;
        return std::strcmp(step, failStep) == 0 ? failErr : 0;
    });
    const std::tuple<const char*, int, std::int32_t> cases[] = {
        {"open", EACCES, ErrNo::PermissionDenied},
        {"write", ENOSPC, ErrNo::DiskFull},
        {"sync", EIO, ErrNo::DeviceIoError},
        {"rename", EACCES, ErrNo::PermissionDenied}};
    for (const auto& [step, err, number] : cases) {
        SCOPED_TRACE(step);
        failStep = step;
        failErr = err;
        EXPECT_EQ(FailureNumber([&] { WriteFileAtomically(Utf8(ini), "new"); }), number);
        EXPECT_EQ(ReadFile(ini) + "|" + ListDir(ini.parent_path()), "old|LVN.ini");
    }
    failStep = "";
    WriteFileAtomically(Utf8(ini), "[Settings]\r\n");
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(ReadFile(ini) + "|" + ListDir(ini.parent_path()), "[Settings]\r\n|LVN.ini");
    EXPECT_EQ(hiddenTemporaries, 2) << "the temporary passed for a file, or there was none";
    EXPECT_EQ(ReadWholeFile(Utf8(ini)), "[Settings]\r\n");
    for (const auto& [path, number] :
         {std::pair(Utf8(ini.parent_path()), ErrNo::PathFileAccessError),
          {Utf8(ini.parent_path() / "none.txt"), ErrNo::FileNotFound}})
        EXPECT_EQ(FailureNumber([&] { ReadWholeFile(path); }), number) << path;
    EXPECT_EQ(FailureNumber([&] { WriteFileAtomically(Utf8(ini.parent_path()), "x"); }),
              ErrNo::PathFileAccessError)
        << "a folder is not replaced by a file";
}

#ifndef _WIN32
// Ordinary visible files only, the last name a pattern; an earlier pending failure is cleared.
TEST(Files, FileExistsFindsOnlyOrdinaryVisibleFiles) {
    TempDir dir;
    fs::create_directories(dir / "odd" / "folder.zip");
    fs::create_symlink(dir / "loop", dir / "loop");
    for (const char* name : {"mame", ".hidden", "pacman.zip", "odd/.secret.zip"})
        WriteFile(dir / name, "x");
    const std::tuple<std::string, bool, std::int32_t> cases[] = {
        {"mame", true, 0},
        {".hidden", false, 0},
        {"odd", false, 0},
        {"p*.zip", true, 0},
        {"odd/*.zip", false, 0},
        {"loop", false, ErrNo::PathFileAccessError},
        {std::string(300, 'n'), false, ErrNo::BadFileName}};
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(std::pair(FileExists((dir / name).string(), pending), pending.number),
                  std::pair(found, number))
            << name;
    }
}

// Atomic write through a link keeps the link and the mode; a move keeps the mode.
TEST(Files, AtomicWriteAndMoveKeepLinksAndModes) {
    TempDir dir;
    WriteFile(dir / "LVN.ini", "old");
    fs::create_directories(dir / "bad");
    fs::permissions(dir / "LVN.ini", fs::perms(0640));
    fs::create_symlink(dir / "LVN.ini", dir / "link");
    WriteFileAtomically((dir / "link").string(), "[Settings]\r\nJoy=0\r\n");
    EXPECT_EQ(ReadFile(dir / "LVN.ini"), "[Settings]\r\nJoy=0\r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "link") &&
                fs::status(dir / "LVN.ini").permissions() == fs::perms(0640));
    EXPECT_EQ(ListDir(dir.Path()), "LVN.ini bad link") << "a temporary stayed";
    const std::string from = (dir / "pacman.zip").string(), to = (dir / "bad/pacman.zip").string();
    WriteFile(from, "PK");
    fs::permissions(from, fs::perms(0640));
    SetMoveFaultHook([](const char* step, const std::string&) {
        return std::strcmp(step, "rename") == 0 ? EXDEV : 0;
    });
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, MoveOutcome::Moved);
    SetMoveFaultHook(nullptr);
    EXPECT_TRUE(ReadFile(to) == "PK" && fs::status(to).permissions() == fs::perms(0640));
}
#else
void SetAttributes(const fs::path& path, DWORD attrs) {
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attrs)) << path;
}

// Ordinary files only, hidden and system ones not; read-only and archive ones are; patterns match
// as Windows matches.
TEST(Files, FileExistsFindsOnlyOrdinaryFilesOnWindows) {
    TempDir dir;
    const fs::path roms = dir.Path() / u8"ROMs f\u00fcr mich";
    fs::create_directories(roms / "folder.zip");
    for (const char* name : {"mame.exe", "hidden.zip", "system.zip", "readonly.zip", "PACMAN.ZIP"})
        WriteFile(roms / name, "x");
    SetAttributes(roms / "hidden.zip", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(roms / "system.zip", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(roms / "readonly.zip", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const std::string base = Utf8(roms) + "\\";
    const std::tuple<std::string, bool, std::int32_t> cases[] = {{"mame.exe", true, 0},
                                                                 {"MAME.EXE", true, 0},
                                                                 {"hidden.zip", false, 0},
                                                                 {"system.zip", false, 0},
                                                                 {"readonly.zip", true, 0},
                                                                 {"pacman.zip", true, 0},
                                                                 {"folder.zip", false, 0},
                                                                 {"h*.zip", false, 0},
                                                                 {"p*.zip", true, 0},
                                                                 {"?eadonly.zip", true, 0},
                                                                 {"*", true, 0},
                                                                 {"missing\\mame.exe", false, 0},
                                                                 {"nothing.zip", false, 0},
                                                                 {"", false, 0}};
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(std::pair(FileExists(base + name, pending), pending.number),
                  std::pair(found, number))
            << name;
    }
    // A name the file system rejects: Windows says so (52), Wine finds nothing; neither is a file.
    PendingError pending;
    EXPECT_FALSE(FileExists(base + "a|b.zip", pending));
    EXPECT_TRUE(pending.number == ErrNo::None || pending.number == ErrNo::BadFileName)
        << pending.description;
    EXPECT_FALSE(FileExists("Q:\\no drive\\mame.exe"));
    EXPECT_FALSE(FileExists(base + "mame.exe\xff"));
    SetAttributes(roms / "readonly.zip", FILE_ATTRIBUTE_NORMAL);
}

// A set file another program holds open without sharing deletion stays, and the failure says why.
TEST(Files, AFileHeldOpenIsNotMoved) {
    TempDir dir;
    fs::create_directories(dir / "bad");
    const fs::path from = dir / "pacman.zip";
    WriteFile(from, "PK");
    HANDLE held = ::CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const bool across : {false, true}) {
        SCOPED_TRACE(across ? "across volumes" : "within one volume");
        SetMoveFaultHook(
            across ? [](const char* step,
                        const std::string&) { return std::strcmp(step, "rename") == 0 ? EXDEV : 0; }
                   : MoveFaultHook{nullptr});
        const MoveResult r = MoveFileNoReplace(Utf8(from), Utf8(dir / "bad" / "pacman.zip"));
        ASSERT_EQ(r.outcome, MoveOutcome::Failed);
        EXPECT_EQ(r.failure->Number(), ErrNo::PermissionDenied);
        const std::string& why = r.failure->Description();
        EXPECT_TRUE(why.find("pacman.zip") != std::string::npos &&
                    why.find("another program has the file open") != std::string::npos)
            << why;
        EXPECT_EQ(ReadFile(from) + "|" + ListDir(dir / "bad"), "PK|")
            << "the source changed or something stayed";
    }
    SetMoveFaultHook(nullptr);
    ::CloseHandle(held);
    EXPECT_EQ(MoveFileNoReplace(Utf8(from), Utf8(dir / "bad" / "pacman.zip")).outcome,
              MoveOutcome::Moved);
}

// A replaced file keeps its attributes (a hidden one stays hidden); a read-only set moved across
// volumes stays read-only.
TEST(Files, AtomicWriteAndMoveKeepAttributes) {
    TempDir dir;
    WriteFile(dir / "LVN.ini", "old");
    SetAttributes(dir / "LVN.ini", FILE_ATTRIBUTE_HIDDEN);
    WriteFileAtomically(Utf8(dir / "LVN.ini"), "new");
    EXPECT_EQ(ReadFile(dir / "LVN.ini"), "new");
    EXPECT_EQ(::GetFileAttributesW((dir / "LVN.ini").c_str()) & FILE_ATTRIBUTE_HIDDEN,
              DWORD(FILE_ATTRIBUTE_HIDDEN));
    WriteFileAtomically(Utf8(dir / "AvailROM.txt"), "list");
    EXPECT_EQ(::GetFileAttributesW((dir / "AvailROM.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "a new file is hidden";
    fs::create_directories(dir / "bad");
    WriteFile(dir / "qix.zip", "PK");
    SetAttributes(dir / "qix.zip", FILE_ATTRIBUTE_READONLY);
    SetMoveFaultHook([](const char* step, const std::string&) {
        return std::strcmp(step, "rename") == 0 ? EXDEV : 0;
    });
    EXPECT_EQ(MoveFileNoReplace(Utf8(dir / "qix.zip"), Utf8(dir / "bad" / "qix.zip")).outcome,
              MoveOutcome::Moved);
    SetMoveFaultHook(nullptr);
    EXPECT_FALSE(fs::exists(dir / "qix.zip"));
    EXPECT_EQ(::GetFileAttributesW((dir / "bad" / "qix.zip").c_str()) & FILE_ATTRIBUTE_READONLY,
              DWORD(FILE_ATTRIBUTE_READONLY));
    SetAttributes(dir / "bad" / "qix.zip", FILE_ATTRIBUTE_NORMAL);
    SetAttributes(dir / "LVN.ini", FILE_ATTRIBUTE_NORMAL);
}
#endif

}  // namespace
}  // namespace lorvane::platform
