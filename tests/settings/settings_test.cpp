#include "settings.h"

#include <gtest/gtest.h>

#include "emulator_ini.h"
#include "fake_host.h"
#include "failure.h"
#include "profile_file.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using namespace test;
using namespace Clean_code;

template <class F>
std::string Outcome(F fn) try { return fn(); } catch (const Failure& f) { return "error " + std::to_string(f.Number()); }

// Which line a key is read from (round trips are fuzzed); a refused write changes nothing.
TEST(ProfileFile, ReadsLikeThePlatformReaderAndRefusesALineBreak) {
    const std::string ini = "Joy=7\r\n  [ settings ]  \n;Joy=9\n  mame name \t=\t MAME.exe  \r"
                            "joy=1\r\nJOY=2\r\n[Other]\r\nOnly=o\r\n[Settings]\r\nSecond=y\r\n";
    const std::pair<const char*, const char*> cases[] = {{"MAME NAME", "MAME.exe"}, {"Joy", "1"}, {"Second", "-"}, {"Only", "-"}};
    for (const auto& [key, want] : cases) EXPECT_EQ(FindProfileValue(ini, "SETTINGS", key).value_or("-"), want) << key;
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    WriteFile(file, "[S]\nk=old\n");
    EXPECT_EQ(Outcome([&] { return WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "a\r\n[Evil]"}}), ""; }), "error 5");
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

// "truth value, joystick index": halves round to even, "." whatever the locale.
TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    const std::pair<const char*, const char*> cases[] = {
        {" tRUE ", "1, error 13"}, {"FALSE", "0, error 13"}, {"3.5", "1, 4"}, {"-2.5", "1, -2"}, {"-32768.5", "1, -32768"},
        {"32767.5", "1, error 6"}, {"1e999", "error 6, error 6"}, {"", "error 13, error 13"}, {"1,5", "error 13, error 13"},
        {"12abc", "error 13, error 13"}};
    for (const auto& [text, want] : cases)
        EXPECT_EQ(Outcome([&] { return std::to_string(ToBoolean(text)); }) + ", " +
                      Outcome([&] { return std::to_string(ToInt16(text)); }), want) << '"' << text << '"';
}

// A 30-character name survives save and load; other lines stay; an unreadable file is not empty.
TEST(Settings, SaveChangesOnlyItsFourKeysAndLoadReadsThemWhole) {
    TempDir dir;
    const auto file = dir / "LVN.ini";
    WriteFile(file, "; keep\r\n[Settings]\r\nJoy=3\r\nExtra=1\r\n[Other]\r\nJoy=0\r\n");
    FakeHost host(dir.Str());
    host.state.MameExeName = "my_own_mame_build_0251_x64.exe";
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
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(ReadProfileString(file.string(), "Settings", "Joy"), Failure);
}

// MameExeName|LVNGameList|Text4 as far as the load got; missing keys are loaded by the window tests.
TEST(Settings, LoadStopsAtTheFailingStep) {
    const struct { const char *ini, *outcome; std::vector<std::string> calls; const char* state; } cases[] = {
        {"MAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", "error 13", {"Preview_Click"}, "m.exe|d.txt|abc"},
        {"Joy=3.5\nPreview_on=0\n", "error 340", {"JOY_SEL_Click 4"}, "1500|1500|3.5"}};
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir / "LVN.ini", std::string("[Settings]\n") + c.ini);
        FakeHost host(dir.Str());
        EXPECT_EQ(Outcome([&] { return LoadSettings(host), std::string(); }), c.outcome) << c.ini;
        EXPECT_EQ(host.calls, c.calls) << c.ini;
        EXPECT_EQ(host.state.MameExeName + "|" + host.state.LVNGameList + "|" + host.state.Text4, c.state);
    }
}

// ".exe" becomes ".ini" (case matters); the first line of each key counts, the value
// starting after a fixed 17 or 19 characters; a relative snapshot dir lies in the app dir.
TEST(EmulatorIni, RomPathAndSnapshotDirectory) {
    for (const auto& [exe, ini] : {std::pair{"my.exe.exe", "my.ini.ini"}, {"MAME.EXE", "MAME.EXE"}, {"bin.d/mame", "bin.d/mame.ini"}})
        EXPECT_EQ(EmulatorIniName(exe), ini) << exe;
    TempDir dir;
    const std::string app = dir.Str();
    FakeHost host(app);
    host.state.MameExeName = "mame";
    const auto read = [&] {
        host.state.snap_path = "unchanged";
        const std::string rom = Outcome([&] {
            std::string s;
            for (const auto& d : GetMameRomPath(app, "mame", host.state.err)) s += d + ";";
            return s;
        });
        return rom + " | " + Outcome([&] { return Frontend_code::GetMameSnapshotDir(host), host.state.snap_path; });
    };
    host.state.err.Set(57, "left over");
    EXPECT_EQ(read(), "roms/; | " + app + "/snap/");
    EXPECT_FALSE(host.state.err.IsSet());
    const std::pair<const char*, std::string> cases[] = {
        {"# x\r\nROMPATH roms;/srv/my roms/\r\nSNAPSHOT_DIR       pics/\r\n", "roms/;/srv/my roms/; | " + app + "/pics/"},
        {"ROMPATH a; b\nsnapshot_directory /var/games/snap\n", "a/; b/; | /var/games/snap/"},
        {"ROMPATH\troms \n#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory second\n",
         "\troms/; | " + app + "/first/"},
        {"ROMPATH    \nrompath roms\nsnapshot_directory            \n", " | error 5"},
        {"ROMPAT roms\nsnapshot_directory snap;/var/snap\n", " | snap;/var/snap/"},
        {"ROMPATH a;\n", "error 5 | unchanged"}};
    for (const auto& [ini, want] : cases) {
        WriteFile(dir / "mame.ini", ini);
        EXPECT_EQ(read(), want) << ini;
    }
}

}  // namespace
}  // namespace lorvane
