#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/file_io.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"
#include "util/failure.h"

namespace lorvane::settings {
namespace {

using namespace test;
using namespace std::literals;
using util::Failure;

int g_writeSteps = 0;
int FailEveryWriteStep(const char*, const std::string&) { return ++g_writeSteps, EIO; }

template <class F>
std::string Outcome(F fn) try {
    return fn();
} catch (const Failure& f) {
    return "E" + std::to_string(f.Number());
}

// Which line a key is read from (round trips are fuzzed); a refused write changes nothing.
TEST(ProfileFile, ReadsLikeThePlatformReaderAndRefusesALineBreak) {
    const std::string ini =
        "Joy=7\r\n  [ settings ]  \n;Joy=9\n  mame name \t=\t MAME.exe  \r"
        "joy=1\r\nJOY=2\r\n[Other]\r\nOnly=o\r\n[Settings]\r\nSecond=y\r\n";
    for (const auto& [key, want] :
         {std::pair{"MAME NAME", "MAME.exe"}, {"Joy", "1"}, {"Second", "-"}, {"Only", "-"}})
        EXPECT_EQ(FindProfileValue(ini, "SETTINGS", key).value_or("-"), want) << key;
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    WriteFile(file, "[S]\nk=old\n");
    EXPECT_EQ(Outcome([&] {
                  return WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "a\r\n[Evil]"}}), "";
              }),
              "E5");
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

// "truth value, joystick index": halves round to even, "." whatever the locale.
TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    for (const auto& [text, want] : {std::pair{" tRUE ", "1, E13"},
                                     {"FALSE", "0, E13"},
                                     {"3.5", "1, 4"},
                                     {"-2.5", "1, -2"},
                                     {"-32768.5", "1, -32768"},
                                     {"32767.5", "1, E6"},
                                     {"1e999", "E6, E6"},
                                     {"", "E13, E13"},
                                     {"1,5", "E13, E13"}})
        EXPECT_EQ(Outcome([&] { return std::to_string(ToBoolean(text)); }) + ", " +
                      Outcome([&] { return std::to_string(ToInt16(text)); }),
                  want)
            << '"' << text << '"';
}

// A 30-character name survives write and read; other lines stay; values the file holds already
// are not written again (every start stores them); an unreadable file is not empty.
TEST(Settings, WriteChangesOnlyItsFourKeysAndReadReadsThemWhole) {
    TempDir dir;
    const auto file = dir / "LVN.ini";
    WriteFile(file, "; keep\r\n[Settings]\r\nJoy=3\r\nExtra=1\r\n[Other]\r\nJoy=0\r\n");
    WriteSettings(dir.Str(), {"my_own_mame_build_0251_x64.exe", "games.txt", "2", "True"});
    EXPECT_EQ(
        ReadFile(file),
        "; keep\r\n[Settings]\r\nJoy=2\r\nExtra=1\r\nMAME NAME=my_own_mame_build_0251_x64.exe\r\n"
        "Data File Name=games.txt\r\nPreview_on=True\r\n[Other]\r\nJoy=0\r\n");
    const StoredSettings read = ReadSettings(dir.Str());
    EXPECT_EQ(read.emulatorFileName + "|" + read.dataFileName + "|" + read.joystickIndex + "|" +
                  read.previewOn,
              "my_own_mame_build_0251_x64.exe|games.txt|2|True");
    const std::string written = ReadFile(file);
    platform::SetWriteFaultHook(&FailEveryWriteStep);
    WriteSettings(dir.Str(), read);
    EXPECT_EQ(g_writeSteps, 0);
    EXPECT_THROW(WriteSettings(dir.Str(), {read.emulatorFileName, "other.txt", "2", "True"}),
                 Failure);
    platform::SetWriteFaultHook(nullptr);
    EXPECT_EQ(ReadFile(file), written);
    WriteFile(file, "[Settings]\r\nJoy=3\r\n");
    const StoredSettings missing = ReadSettings(dir.Str());
    EXPECT_EQ(missing.emulatorFileName + "|" + missing.dataFileName + "|" + missing.joystickIndex +
                  "|" + missing.previewOn,
              "1500|1500|3|1500");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(ReadProfileString(file.string(), "Settings", "Joy"), Failure);
    EXPECT_THROW(ReadSettings(dir.Str()), Failure);
}

}  // namespace
}  // namespace lorvane::settings
