#include "profile_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "failure.h"
#include "file_io.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ProfileFile, ReadsLikeThePlatformReader) {
    const std::string ini =
        "Joy=7\r\n"                           // before any section: belongs to none
        "; [Settings] as a comment\r\n"
        "  [ settings ]  \n"                  // first matching section, any case
        ";Joy=9\n"                            // comment
        "no equals sign here\n"
        "  mame name \t=\t MAME.exe  \r"      // CR-only line end, blanks and tabs trimmed
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Odd=\"x'\r\n"
        "Long=abcdefghijklmnopqrstuvwxyz0123\r\n"
        "joy=1\r\n"
        "JOY=2\r\n"                           // duplicate key: the first counts
        "Empty=\r\n"
        "[Other]\r\n"
        "Only=other\r\n"
        "[Settings]\r\n"                      // duplicate section: ignored
        "Second=yes\r\n";

    auto find = [&](const char* key) { return FindProfileValue(ini, "SETTINGS", key); };
    EXPECT_EQ(find("MAME NAME"), "MAME.exe");
    EXPECT_EQ(find("quoted"), "  spaced  ");
    EXPECT_EQ(find("Single"), "x");
    EXPECT_EQ(find("Odd"), "\"x'");
    EXPECT_EQ(find("Long"), "abcdefghijklmnopqrstuvwxyz0123");  // whole, not 24 characters
    EXPECT_EQ(find("Joy"), "1");
    EXPECT_EQ(find("Empty"), "");
    EXPECT_EQ(find("Second"), std::nullopt);
    EXPECT_EQ(find("Only"), std::nullopt);
    EXPECT_EQ(find("no equals sign here"), std::nullopt);
    EXPECT_EQ(FindProfileValue(ini, "Other", "only"), "other");
    EXPECT_EQ(FindProfileValue(ini, "Missing", "Joy"), std::nullopt);
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
}

TEST(ProfileFile, WritesChangeOnlyTheirOwnLines) {
    const std::string before =
        "; my settings\n"
        "[Other]\r\n"
        "MAME NAME=other.exe\r\n"
        "\r\n"
        "[settings]\n"
        "  mame name = old.exe  \n"       // replaced where it stands, LF kept
        "; a comment inside\r\n"
        "Joy=1\r"                         // CR-only end kept
        "joy=5\r\n"                       // duplicate: untouched
        "\n"
        "   \r\n"
        "[Last]\r\n"
        "x=1";                            // final line without an end

    const std::string after = ApplyProfileWrites(
        before, "Settings", {{"MAME NAME", "new.exe"}, {"Joy", "2"}, {"Data File Name", "LVN_LIST.txt"}, {"Preview_on", "True"}});
    EXPECT_EQ(after,
              "; my settings\n"
              "[Other]\r\n"
              "MAME NAME=other.exe\r\n"
              "\r\n"
              "[settings]\n"
              "  mame name=new.exe\n"
              "; a comment inside\r\n"
              "Joy=2\r"
              "joy=5\r\n"
              "Data File Name=LVN_LIST.txt\r\n"
              "Preview_on=True\r\n"
              "\n"
              "   \r\n"
              "[Last]\r\n"
              "x=1");

    // A missing section goes to the end, after the last line has been ended.
    EXPECT_EQ(ApplyProfileWrites("[A]\nx=1", "New", {{"k", "v"}}), "[A]\nx=1\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(ApplyProfileWrites("[A]\r", "New", {{"k", "v"}}), "[A]\r[New]\r\nk=v\r\n");
    // A section whose header ends the file gets its key on a line of its own.
    EXPECT_EQ(ApplyProfileWrites("x=1\n[New]", "new", {{"k", "v"}}), "x=1\n[New]\r\nk=v\r\n");
    EXPECT_EQ(ApplyProfileWrites("", "New", {{"k", "v"}}), "[New]\r\nk=v\r\n");
}

TEST(ProfileFile, RefusesWritesThatWouldAddLines) {
    for (const char* bad : {"a\r\n[Evil]\r\nx=1", "a\nb", "a\rb"}) {
        try {
            ApplyProfileWrites("[S]\r\n", "S", {{"k", bad}});
            ADD_FAILURE() << "accepted a value with a line break";
        } catch (const Failure& f) {
            EXPECT_EQ(f.Number(), ErrNo::InvalidArgument);
            EXPECT_NE(f.Description().find("line break"), std::string::npos);
        }
    }
    EXPECT_THROW(ApplyProfileWrites("", "S", {{"k=v", "x"}}), Failure);
    EXPECT_THROW(ApplyProfileWrites("", "S]\r\n[T", {{"k", "x"}}), Failure);
    EXPECT_THROW(ApplyProfileWrites("", "S", {{" ", "x"}}), Failure);

    // Nothing reaches the file, not even the keys before the bad one.
    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    WriteFile(file, "[S]\nk=old\n");
    EXPECT_THROW(WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "x\ny"}}), Failure);
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

int FailRename(const char* step, const std::string&) { return std::strcmp(step, "rename") == 0 ? 28 /*ENOSPC*/ : 0; }

TEST(ProfileFile, FileRoundTripAndFailedWrites) {
    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    const std::string name30 = "my_own_mame_build_0251_x64.exe";
    ASSERT_EQ(name30.size(), 30u);

    EXPECT_EQ(ReadProfileString(file, "Settings", "MAME NAME"), std::nullopt);
    EXPECT_EQ(GetPrivateProfileString("Settings", "MAME NAME", "1500", file), "1500");
    WriteProfileStrings(file, "Settings", {{"MAME NAME", name30}, {"Joy", "3"}});
    EXPECT_EQ(ReadFile(file), "[Settings]\r\nMAME NAME=" + name30 + "\r\nJoy=3\r\n");
    EXPECT_EQ(GetPrivateProfileString("settings", "mame name", "1500", file), name30);
    EXPECT_EQ(GetPrivateProfileString("Settings", "Preview_on", "1500", file), "1500");

    // A failed replacement keeps the old file and leaves no temporary file.
    SetWriteFaultHook(FailRename);
    try {
        WriteProfileStrings(file, "Settings", {{"Joy", "0"}});
        ADD_FAILURE() << "a failed write went unnoticed";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number(), ErrNo::DiskFull);
    }
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(ReadFile(file), "[Settings]\r\nMAME NAME=" + name30 + "\r\nJoy=3\r\n");
    EXPECT_EQ(test::ListDir(dir.Path()), "LVN.ini");

    // A file that exists but cannot be read is neither taken as empty nor overwritten.
    const std::string directory = (dir / "dir.ini").string();
    std::filesystem::create_directory(directory);
    EXPECT_THROW(ReadProfileString(directory, "Settings", "Joy"), Failure);
    EXPECT_THROW(WriteProfileStrings(directory, "Settings", {{"Joy", "1"}}), Failure);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
}

}  // namespace
}  // namespace lorvane
