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
using Calls = std::vector<std::string>;
using namespace Clean_code;

// The result as text, or "error N" for a Failure.
std::string Outcome(const std::function<std::string()>& fn) {
    try {
        return fn();
    } catch (const Failure& f) {
        return "error " + std::to_string(f.Number());
    }
}

TEST(ProfileFile, ReadsLikeThePlatformReader) {
    const std::string ini =
        "Joy=7\r\n"                           // before any section: belongs to none
        "; [Settings] as a comment\r\n"
        "  [ settings ]  \n"                  // first matching section, any case
        ";Joy=9\n"
        "no equals sign here\n"
        "  mame name \t=\t MAME.exe  \r"      // CR-only line end, blanks and tabs trimmed
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Odd=\"x'\r\n"
        "joy=1\r\n"
        "JOY=2\r\n"                           // duplicate key: the first counts
        "Empty=\r\n"
        "[Other]\r\n"
        "Only=other\r\n"
        "[Settings]\r\n"                      // duplicate section: ignored
        "Second=yes\r\n";
    const std::pair<const char*, const char*> cases[] = {
        {"MAME NAME", "MAME.exe"}, {"quoted", "  spaced  "}, {"Single", "x"}, {"Odd", "\"x'"}, {"Joy", "1"},
        {"Empty", ""}, {"Second", "<none>"}, {"Only", "<none>"}, {"no equals sign here", "<none>"},
    };
    for (const auto& [key, want] : cases)
        EXPECT_EQ(FindProfileValue(ini, "SETTINGS", key).value_or("<none>"), want) << key;
    EXPECT_EQ(FindProfileValue(ini, "Other", "only"), "other");
    EXPECT_EQ(FindProfileValue(ini, "Missing", "Joy"), std::nullopt);
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
}

TEST(ProfileFile, WritesChangeOnlyTheirOwnLinesAndFailedOnesNothing) {
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
    // The expected text is the original with three edits, made by hand.
    std::string after = before;
    after.replace(after.find("  mame name = old.exe  \n"), 24, "  mame name=new.exe\n");
    after.replace(after.find("Joy=1\r"), 6, "Joy=2\r");
    after.insert(after.find("joy=5\r\n") + 7, "Data File Name=LVN_LIST.txt\r\nPreview_on=True\r\n");
    EXPECT_EQ(ApplyProfileWrites(before, "Settings",
                                 {{"MAME NAME", "new.exe"}, {"Joy", "2"}, {"Data File Name", "LVN_LIST.txt"},
                                  {"Preview_on", "True"}}),
              after);

    // A final line without an end is ended before anything goes after it.
    EXPECT_EQ(ApplyProfileWrites("[A]\nx=1", "New", {{"k", "v"}}), "[A]\nx=1\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(ApplyProfileWrites("[A]\r", "New", {{"k", "v"}}), "[A]\r[New]\r\nk=v\r\n");
    EXPECT_EQ(ApplyProfileWrites("x=1\n[New]", "new", {{"k", "v"}}), "x=1\n[New]\r\nk=v\r\n");
    EXPECT_EQ(ApplyProfileWrites("", "New", {{"k", "v"}}), "[New]\r\nk=v\r\n");

    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    EXPECT_EQ(GetPrivateProfileString("Settings", "Joy", "1500", file), "1500");

    // A value with a line break would add lines of its own; the keys before it
    // in the same write do not reach the file either.
    WriteFile(file, "[S]\nk=old\n");
    EXPECT_EQ(Outcome([&] { return WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "a\r\n[Evil]\r\nx=1"}}), ""; }),
              "error 5");
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    // "truth value, joystick index": halves round to even, and the decimal point
    // is "." whatever the locale.
    auto both = [](const char* text) {
        return Outcome([&] { return std::to_string(ToBoolean(text)); }) + ", " +
               Outcome([&] { return std::to_string(ToInt16(text)); });
    };
    const std::pair<const char*, const char*> numbers[] = {
        {" tRUE ", "1, error 13"}, {"FALSE", "0, error 13"}, {"-0.0e5", "0, 0"}, {"-0.5", "1, 0"},
        {"1e-999", "0, 0"}, {" +7 ", "1, 7"}, {"3.5", "1, 4"}, {"2.5", "1, 2"}, {"-2.5", "1, -2"},
        {"2.51", "1, 3"}, {".5", "1, 0"}, {"1.5e1", "1, 15"}, {"32767", "1, 32767"}, {"-32768.5", "1, -32768"},
        {"32768", "1, error 6"}, {"-32769", "1, error 6"}, {"32767.5", "1, error 6"}, {"1e999", "error 6, error 6"},
    };
    for (const auto& [text, want] : numbers) EXPECT_EQ(both(text), want) << '"' << text << '"';
    for (const char* text : {"", "yes", "0x1", "nan", "infinity", "1,5", "12abc", ".", "1e+", "1 0"})
        EXPECT_EQ(both(text), "error 13, error 13") << '"' << text << '"';
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
    // Loading "True" while the preview is on toggles it off: the handler decides.
    EXPECT_FALSE(host.state.Preview);

    WriteDefaultSettings(dir.Str());
    EXPECT_EQ(ReadFile(file), "; keep\r\n[Settings]\r\nJoy=1\r\nExtra=1\r\nMAME NAME=MAME.exe\r\n"
                              "Data File Name=LVN_LIST.txt\r\nPreview_on=False\r\n[Other]\r\nJoy=0\r\n");

    // A file that exists but cannot be read is not taken as empty, and a write
    // that cannot be made is reported, not swallowed.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(ReadProfileString(file.string(), "Settings", "Joy"), Failure);
    EXPECT_THROW(SaveSettings(host), Failure);
    EXPECT_THROW(WriteDefaultSettings(dir.Str()), Failure);
}

TEST(Settings, LoadStopsAtTheFailingStep) {
    // The outcome, the handlers called, and MameExeName|LVNGameList|Text4 afterwards.
    const struct {
        const char *ini, *outcome;
        Calls calls;
        const char* state;
    } cases[] = {
        // Missing keys read "1500": the preview goes on, and no joystick entry 1500 exists.
        {"[Settings]\r\n", "error 340", {"Preview_Click", "JOY_SEL_Click 1500"}, "1500|1500|1500"},
        {"[Settings]\nMAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", "error 13",
         {"Preview_Click"}, "m.exe|d.txt|abc"},
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
