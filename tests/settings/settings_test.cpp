#include "settings.h"

#include <gtest/gtest.h>

#include "emulator_ini.h"
#include "fake_ui.h"
#include "failure.h"
#include "main_form.h"
#include "native_path.h"
#include "profile_file.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using namespace test;
using namespace Clean_code;
using namespace std::literals;

template <class F>
std::string Outcome(F fn) try { return fn(); } catch (const Failure& f) { return "E" + std::to_string(f.Number()); }

// Which line a key is read from (round trips are fuzzed); a refused write changes nothing.
TEST(ProfileFile, ReadsLikeThePlatformReaderAndRefusesALineBreak) {
    const std::string ini = "Joy=7\r\n  [ settings ]  \n;Joy=9\n  mame name \t=\t MAME.exe  \r"
                            "joy=1\r\nJOY=2\r\n[Other]\r\nOnly=o\r\n[Settings]\r\nSecond=y\r\n";
    for (const auto& [key, want] : {std::pair{"MAME NAME", "MAME.exe"}, {"Joy", "1"}, {"Second", "-"}, {"Only", "-"}})
        EXPECT_EQ(FindProfileValue(ini, "SETTINGS", key).value_or("-"), want) << key;
    EXPECT_EQ(FindProfileValue("\xEF\xBB\xBF[Settings]\nJoy=3\n", "Settings", "Joy"), "3");
    TempDir dir;
    const std::string file = (dir / "LVN.ini").string();
    WriteFile(file, "[S]\nk=old\n");
    EXPECT_EQ(Outcome([&] { return WriteProfileStrings(file, "S", {{"k", "new"}, {"j", "a\r\n[Evil]"}}), ""; }), "E5");
    EXPECT_EQ(ReadFile(file), "[S]\nk=old\n");
}

// "truth value, joystick index": halves round to even, "." whatever the locale.
TEST(Settings, ConvertsTruthValuesAndJoystickIndexes) {
    for (const auto& [text, want] : {std::pair{" tRUE ", "1, E13"}, {"FALSE", "0, E13"}, {"3.5", "1, 4"}, {"-2.5", "1, -2"},
             {"-32768.5", "1, -32768"}, {"32767.5", "1, E6"}, {"1e999", "E6, E6"}, {"", "E13, E13"}, {"1,5", "E13, E13"}})
        EXPECT_EQ(Outcome([&] { return std::to_string(ToBoolean(text)); }) + ", " +
                      Outcome([&] { return std::to_string(ToInt16(text)); }), want) << '"' << text << '"';
}

// A 30-character name survives save and load; other lines stay; an unreadable file is not empty.
TEST(Settings, SaveChangesOnlyItsFourKeysAndLoadReadsThemWhole) {
    TempDir dir;
    const auto file = dir / "LVN.ini";
    WriteFile(file, "; keep\r\n[Settings]\r\nJoy=3\r\nExtra=1\r\n[Other]\r\nJoy=0\r\n");
    FakeUi ui;
    MAIN_form host(dir.Str(), ui);
    auto& st = host.State();
    st.MameExeName = "my_own_mame_build_0251_x64.exe";
    st.LVNGameList = "games.txt";
    st.Preview = true;
    st.Text4 = "2";
    SaveSettings(host);
    EXPECT_EQ(ReadFile(file), "; keep\r\n[Settings]\r\nJoy=2\r\nExtra=1\r\nMAME NAME=my_own_mame_build_0251_x64.exe\r\n"
                              "Data File Name=games.txt\r\nPreview_on=True\r\n[Other]\r\nJoy=0\r\n");
    st.MameExeName.clear();
    LoadSettings(host);
    EXPECT_TRUE(st.MameExeName == "my_own_mame_build_0251_x64.exe" && !st.Preview) << "cut, or True not via its handler";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_THROW(ReadProfileString(file.string(), "Settings", "Joy"), Failure);
}

// What the load applied before the failing step, through the window's own handlers (marks set beforehand).
TEST(Settings, LoadStopsAtTheFailingStep) {
    const struct { const char *ini, *outcome, *state; } cases[] = {
        {"MAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", "E13", "m.exe|d.txt|abc|on|0100|"},
        {"Joy=3.5\nPreview_on=0\n", "E340", "1500|1500|3.5|off|0000|"},
        {"MAME NAME=m\nJoy=2\n", "", "m|1500|2|on|0010| -hotrod"}};
    for (TempDir dir; const auto& c : cases) {
        WriteFile(dir / "LVN.ini", std::string("[Settings]\n") + c.ini);
        FakeUi ui;
        MAIN_form host(dir.Str(), ui);
        host.JOY_SEL_Click(1);
        const std::string outcome = Outcome([&] { return LoadSettings(host), std::string(); });
        const WindowState& st = host.State();
        std::string marks;
        for (bool mark : st.JOY_SEL) marks += mark ? '1' : '0';
        EXPECT_EQ(outcome + " " + st.MameExeName + "|" + st.LVNGameList + "|" + st.Text4 + "|" + (st.Preview ? "on|" : "off|") +
                      marks + "|" + st.Text3, c.outcome + " "s + c.state) << c.ini;
    }
}

// ".exe" becomes ".ini"; the first line of each key counts; a relative snapshot dir lies in the app dir.
TEST(EmulatorIni, RomPathAndSnapshotDirectory) {
    // Only where programs carry no extension does a name without one get ".ini".
    for (const auto& [exe, ini] : {std::pair{"my.exe.exe", "my.ini.ini"}, {"MAME.EXE", "MAME.EXE"},
                                   {"bin.d/mame", kProgramsHaveExtension ? "bin.d/mame" : "bin.d/mame.ini"}})
        EXPECT_EQ(EmulatorIniName(exe), ini) << exe;
    TempDir dir;
    FakeUi ui;
    MAIN_form host(dir.Str(), ui);
    const std::string& app = host.AppDir();
    host.State().MameExeName = kMameExe;
    const auto read = [&] {
        std::string rom = (host.State().snap_path = "unchanged", "");
        rom = Outcome([&] { for (const auto& d : GetMameRomPath(app, kMameExe, host.State().err)) rom += d + ";"; return rom; });
        return rom + " | " + Outcome([&] { return Frontend_code::GetMameSnapshotDir(host), host.State().snap_path; });
    };
    host.State().err.Set(57, "left over");
    EXPECT_TRUE(read() == Native("roms/; | " + app + "/snap/") && !host.State().err.IsSet());
    const std::pair<const char*, std::string> cases[] = {
        {"# x\r\nROMPATH roms;/srv/my roms/\r\nSNAPSHOT_DIR       pics/\r\n", "roms/;/srv/my roms/; | " + app + "/pics/"},
        {"ROMPATH a; b\nsnapshot_directory /var/games/snap\n", "a/; b/; | /var/games/snap/"},
        {"ROMPATH\troms \n#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory second\n",
         "\troms/; | " + app + "/first/"},
        {"ROMPATH    \nrompath roms\nsnapshot_directory            \n", " | E5"},
        {"ROMPATH a;\n", "E5 | unchanged"}};
    for (const auto& [ini, want] : cases) {
        WriteFile(dir / "mame.ini", Native(ini));
        EXPECT_EQ(read(), Native(want)) << ini;
    }
}

}  // namespace
}  // namespace lorvane
