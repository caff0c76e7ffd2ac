#include "settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fake_host.h"
#include "failure.h"
#include "temp_dir.h"

namespace lorvane::Clean_code {
namespace {

using test::FakeHost;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Calls = std::vector<std::string>;

std::int32_t FailureNumber(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Failure& f) {
        return f.Number();
    }
    return ErrNo::None;
}

TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    EXPECT_TRUE(ToBoolean("True"));
    EXPECT_TRUE(ToBoolean(" tRUE "));
    EXPECT_FALSE(ToBoolean("FALSE"));
    EXPECT_FALSE(ToBoolean("0"));
    EXPECT_FALSE(ToBoolean("-0.0e5"));
    EXPECT_TRUE(ToBoolean("1500"));
    EXPECT_TRUE(ToBoolean("-0.5"));
    for (const char* text : {"", "  ", "yes", "Truth", "0x1", "inf", "nan", "1e", "1 0"})
        EXPECT_EQ(FailureNumber([&] { ToBoolean(text); }), ErrNo::TypeMismatch) << text;
    EXPECT_EQ(FailureNumber([&] { ToBoolean("1e999"); }), ErrNo::Overflow);

    EXPECT_EQ(ToInt16("1"), 1);
    EXPECT_EQ(ToInt16(" +7 "), 7);
    EXPECT_EQ(ToInt16("3.5"), 4);
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("-2.5"), -2);
    EXPECT_EQ(ToInt16("2.51"), 3);
    EXPECT_EQ(ToInt16(".5"), 0);
    EXPECT_EQ(ToInt16("-0"), 0);
    EXPECT_EQ(ToInt16("1.5e1"), 15);
    EXPECT_EQ(ToInt16("1e-999"), 0);
    EXPECT_EQ(ToInt16("32767"), 32767);
    EXPECT_EQ(ToInt16("-32768.5"), -32768);
    for (const char* text : {"32768", "-32769", "32767.5", "1e9", "1e999", "-1e999"})
        EXPECT_EQ(FailureNumber([&] { ToInt16(text); }), ErrNo::Overflow) << text;
    for (const char* text : {"", "abc", "0x10", "1,5", "12abc", "+", ".", "e5", "infinity", "1e+"})
        EXPECT_EQ(FailureNumber([&] { ToInt16(text); }), ErrNo::TypeMismatch) << text;
}

TEST(Settings, DefaultsSaveAndLoadRoundTrip) {
    TempDir dir;
    const std::string file = SettingsFilePath(dir.Str());
    EXPECT_EQ(file, dir.Str() + "/LVN.ini");

    WriteDefaultSettings(dir.Str());
    EXPECT_EQ(ReadFile(file),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");

    FakeHost host(dir.Str());
    LoadSettings(host);
    EXPECT_EQ(host.state.MameExeName, "MAME.exe");
    EXPECT_EQ(host.state.LVNGameList, "LVN_LIST.txt");
    EXPECT_EQ(host.calls, Calls{"JOY_SEL_Click 1"});
    EXPECT_FALSE(host.state.Preview);

    // A 30-character name survives a save and a load whole.
    host.state.MameExeName = "my_own_mame_build_0251_x64.exe";
    host.state.Preview = true;
    host.state.Text4 = "2";
    SaveSettings(host);
    EXPECT_EQ(ReadFile(file), "[Settings]\r\nMAME NAME=my_own_mame_build_0251_x64.exe\r\nData File Name=LVN_LIST.txt\r\n"
                              "Joy=2\r\nPreview_on=True\r\n");
    FakeHost next(dir.Str());
    LoadSettings(next);
    EXPECT_EQ(next.state.MameExeName, "my_own_mame_build_0251_x64.exe");
    EXPECT_EQ(next.calls, (Calls{"Preview_Click", "JOY_SEL_Click 2"}));
    EXPECT_TRUE(next.state.Preview);

    // Loading "True" while the preview is on toggles it off: the handler decides.
    LoadSettings(next);
    EXPECT_FALSE(next.state.Preview);

    // The defaults overwrite only their four keys.
    WriteFile(file, "; keep\r\n[Settings]\r\nJoy=3\r\nExtra=1\r\n[Other]\r\nJoy=0\r\n");
    WriteDefaultSettings(dir.Str());
    EXPECT_EQ(ReadFile(file), "; keep\r\n[Settings]\r\nJoy=1\r\nExtra=1\r\nMAME NAME=MAME.exe\r\n"
                              "Data File Name=LVN_LIST.txt\r\nPreview_on=False\r\n[Other]\r\nJoy=0\r\n");

    // A write that cannot be made is reported, not swallowed.
    TempDir blocked;
    std::filesystem::create_directory(blocked / "LVN.ini");
    FakeHost blockedHost(blocked.Str());
    EXPECT_NE(FailureNumber([&] { SaveSettings(blockedHost); }), ErrNo::None);
    EXPECT_NE(FailureNumber([&] { WriteDefaultSettings(blocked.Str()); }), ErrNo::None);
}

TEST(Settings, LoadStopsAtTheFailingStep) {
    TempDir dir;
    const std::string file = SettingsFilePath(dir.Str());
    auto load = [&](const std::string& ini, FakeHost& host) {
        WriteFile(file, ini);
        return FailureNumber([&] { LoadSettings(host); });
    };

    // Missing keys read "1500": the preview goes on, and no joystick entry 1500 exists.
    FakeHost empty(dir.Str());
    EXPECT_EQ(load("[Settings]\r\n", empty), ErrNo::ControlArrayElementMissing);
    EXPECT_EQ(empty.state.MameExeName, "1500");
    EXPECT_EQ(empty.state.LVNGameList, "1500");
    EXPECT_EQ(empty.state.Text4, "1500");
    EXPECT_EQ(empty.calls, (Calls{"Preview_Click", "JOY_SEL_Click 1500"}));

    FakeHost notNumber(dir.Str());
    EXPECT_EQ(load("[Settings]\nMAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", notNumber),
              ErrNo::TypeMismatch);
    EXPECT_EQ(notNumber.state.MameExeName, "m.exe");
    EXPECT_EQ(notNumber.state.LVNGameList, "d.txt");
    EXPECT_EQ(notNumber.state.Text4, "abc");
    EXPECT_EQ(notNumber.calls, Calls{"Preview_Click"});

    FakeHost badPreview(dir.Str());
    EXPECT_EQ(load("[Settings]\nJoy=2\nPreview_on=yes\n", badPreview), ErrNo::TypeMismatch);
    EXPECT_EQ(badPreview.state.Text4, "2");
    EXPECT_TRUE(badPreview.calls.empty());

    FakeHost tooBig(dir.Str());
    EXPECT_EQ(load("[Settings]\nJoy=32768\nPreview_on=False\n", tooBig), ErrNo::Overflow);
    EXPECT_TRUE(tooBig.calls.empty());

    FakeHost minusZero(dir.Str());
    EXPECT_EQ(load("[Settings]\nJoy=-0\nPreview_on=False\n", minusZero), ErrNo::None);
    EXPECT_EQ(minusZero.calls, Calls{"JOY_SEL_Click 0"});
    EXPECT_EQ(minusZero.state.Text3, " -joy");

    FakeHost half(dir.Str());
    EXPECT_EQ(load("[Settings]\nJoy=3.5\nPreview_on=0\n", half), ErrNo::ControlArrayElementMissing);
    EXPECT_EQ(half.calls, Calls{"JOY_SEL_Click 4"});
}

}  // namespace
}  // namespace lorvane::Clean_code
