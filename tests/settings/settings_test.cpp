// LVN.ini: the profile-file reader and writer, and the four settings kept in it.
#include "settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_host.h"
#include "failure.h"
#include "profile_file.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using namespace test;
using namespace Clean_code;

std::string Outcome(const std::function<std::string()>& fn) {
    try {
        return fn();
    } catch (const Failure& f) {
        return "error " + std::to_string(f.Number());
    }
}

// Which line a key is read from; writes round-trip and keep other lines (fuzzed).
TEST(ProfileFile, ReadsLikeThePlatformReaderAndRefusesALineBreak) {
    const std::string ini = "Joy=7\r\n  [ settings ]  \n;Joy=9\n  mame name \t=\t MAME.exe  \r"
                            "Q=\"  x  \"\r\nOdd=\"x'\r\njoy=1\r\nJOY=2\r\n[Other]\r\nOnly=o\r\n[Settings]\r\nSecond=y\r\n";
    const std::pair<const char*, const char*> cases[] = {
        {"MAME NAME", "MAME.exe"}, {"q", "  x  "}, {"Odd", "\"x'"}, {"Joy", "1"}, {"Second", "-"}, {"Only", "-"}};
    for (const auto& [key, want] : cases) EXPECT_EQ(FindProfileValue(ini, "SETTINGS", key).value_or("-"), want) << key;
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
    EXPECT_EQ(ApplyProfileWrites("[A]\nx=1", "New", {{"k", "v"}}), "[A]\nx=1\r\n[New]\r\nk=v\r\n");

    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    EXPECT_EQ(GetPrivateProfileString("Settings", "Joy", "1500", file), "1500");
    WriteFile(file, "[S]\nk=old\n");  // no key of a refused write reaches the file
    EXPECT_EQ(Outcome([&] { return WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "a\r\n[Evil]"}}), ""; }),
              "error 5");
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

// "truth value, joystick index": halves round to even, "." whatever the locale.
TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    auto both = [](const char* text) {
        return Outcome([&] { return std::to_string(ToBoolean(text)); }) + ", " +
               Outcome([&] { return std::to_string(ToInt16(text)); });
    };
    const std::pair<const char*, const char*> cases[] = {
        {" tRUE ", "1, error 13"}, {"FALSE", "0, error 13"}, {"-0.0e5", "0, 0"}, {"-0.5", "1, 0"}, {" +7 ", "1, 7"},
        {"3.5", "1, 4"}, {"-2.5", "1, -2"}, {"2.51", "1, 3"}, {"1.5e1", "1, 15"}, {"-32768.5", "1, -32768"},
        {"32767.4", "1, 32767"}, {"32767.5", "1, error 6"}, {"1e999", "error 6, error 6"}, {"", "error 13, error 13"},
        {"0x1", "error 13, error 13"}, {"nan", "error 13, error 13"}, {"1,5", "error 13, error 13"},
        {"12abc", "error 13, error 13"},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(both(text), want) << '"' << text << '"';
}

TEST(Settings, SaveAndDefaultsChangeOnlyTheirFourKeys) {
    TempDir dir;
    const auto file = dir / "LVN.ini";
    WriteFile(file, "; keep\r\n[Settings]\r\nJoy=3\r\nExtra=1\r\n[Other]\r\nJoy=0\r\n");
    FakeHost host(dir.Str());
    host.state.MameExeName = "my_own_mame_build_0251_x64.exe";  // 30 characters, saved and loaded whole
    host.state.LVNGameList = "games.txt";
    host.state.Preview = true;
    host.state.Text4 = "2";
    SaveSettings(host);
    EXPECT_EQ(ReadFile(file), "; keep\r\n[Settings]\r\nJoy=2\r\nExtra=1\r\nMAME NAME=my_own_mame_build_0251_x64.exe\r\n"
                              "Data File Name=games.txt\r\nPreview_on=True\r\n[Other]\r\nJoy=0\r\n");
    host.state.MameExeName.clear();
    LoadSettings(host);
    EXPECT_EQ(host.state.MameExeName, "my_own_mame_build_0251_x64.exe");
    EXPECT_FALSE(host.state.Preview) << "loading \"True\" toggles the preview through its handler";
    WriteDefaultSettings(dir.Str());
    EXPECT_EQ(ReadFile(file), "; keep\r\n[Settings]\r\nJoy=1\r\nExtra=1\r\nMAME NAME=MAME.exe\r\n"
                              "Data File Name=LVN_LIST.txt\r\nPreview_on=False\r\n[Other]\r\nJoy=0\r\n");
    // A file that cannot be read is not taken as empty.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(ReadProfileString(file.string(), "Settings", "Joy"), Failure);
}

// Missing keys ("1500") are loaded end to end by the window tests.
TEST(Settings, LoadStopsAtTheFailingStep) {
    const struct {
        const char *ini, *outcome;
        std::vector<std::string> calls;
        const char* state;  // MameExeName|LVNGameList|Text4
    } cases[] = {
        {"[Settings]\nMAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", "error 13", {"Preview_Click"},
         "m.exe|d.txt|abc"},
        {"[Settings]\nJoy=2\nPreview_on=yes\n", "error 13", {}, "1500|1500|2"},
        {"[Settings]\nJoy=3.5\nPreview_on=0\n", "error 340", {"JOY_SEL_Click 4"}, "1500|1500|3.5"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteFile(dir / "LVN.ini", c.ini);
        FakeHost host(dir.Str());
        EXPECT_EQ(Outcome([&] { return LoadSettings(host), std::string(); }), c.outcome);
        EXPECT_EQ(host.calls, c.calls);
        EXPECT_EQ(host.state.MameExeName + "|" + host.state.LVNGameList + "|" + host.state.Text4, c.state);
    }
}

}  // namespace
}  // namespace lorvane
