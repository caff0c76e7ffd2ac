#include "emulator_ini.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "failure.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

TEST(EmulatorIni, NamesTheIniBesideTheExecutable) {
    const std::pair<const char*, const char*> names[] = {
        {"mame.exe", "mame.ini"},     {"MAME.EXE", "MAME.EXE"},  // case-sensitive: names the executable
        {"my.exe.exe", "my.ini.ini"}, {"mame.exec", "mame.inic"},
        {"mame", "mame.ini"},         {"bin.d/mame", "bin.d/mame.ini"},
        {"mame64.sh", "mame64.sh"},
    };
    for (const auto& [exe, ini] : names) EXPECT_EQ(EmulatorIniName(exe), ini) << exe;
}

// Both answers as one text, "ROM directories | snapshot directory", where
// either part may be "error N".
std::string Read(test::FakeHost& host) {
    std::string rom, snap;
    try {
        for (const auto& d : Clean_code::GetMameRomPath(host.AppDir(), "mame", host.state.err)) rom += d + ";";
    } catch (const Failure& f) {
        rom = "error " + std::to_string(f.Number());
    }
    try {
        Frontend_code::GetMameSnapshotDir(host);
        snap = host.state.snap_path;
    } catch (const Failure& f) {
        snap = "error " + std::to_string(f.Number());
    }
    return rom + " | " + snap;
}

TEST(EmulatorIni, RomPathAndSnapshotDirectory) {
    test::TempDir dir;
    const std::string app = dir.Str();
    test::FakeHost host(app);
    host.state.MameExeName = "mame";
    // No ini: the defaults, and an error left over from before is cleared by each.
    host.state.err.Set(57, "left over");
    EXPECT_EQ(Clean_code::GetMameRomPath(app, "mame", host.state.err), std::vector<std::string>{"roms/"});
    EXPECT_FALSE(host.state.err.IsSet());
    host.state.err.Set(57, "left over");
    EXPECT_EQ(Read(host), "roms/; | " + app + "/snap/");
    EXPECT_FALSE(host.state.err.IsSet());

    const std::pair<const char*, std::string> cases[] = {
        {"# video opengl\r\nROMPATH roms;/srv/my roms/\r\nSNAPSHOT_DIR       pics/\r\n",
         "roms/;/srv/my roms/; | " + app + "/pics/"},
        {"rompath                 $HOME/mame/roms;/usr/share/games/mame/roms\n"
         "snapshot_directory      $HOME/.mame/snap\n",
         "$HOME/mame/roms/;/usr/share/games/mame/roms/; | " + app + "/$HOME/.mame/snap/"},
        {"ROMPATH a; b\nsnapshot_directory /var/games/snap\n", "a/; b/; | /var/games/snap/"},
        {"ROMPATH=roms\nsnapshot_directory snap;/var/snap\n", "=roms/; | snap;/var/snap/"},
        // 19 characters are dropped: "=" is the 19th.
        {"ROMPATH\troms \n#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory second\n",
         "\troms/; | " + app + "/first/"},
        {";rompath nope\nrompath yes\nrompath no\nSNAPSHOT_DIR snap\n", "yes/; | error 5"},  // 17 characters
        {"ROMPATHS  x\nsnapshot_directory \n", "S  x/; | error 5"},
        {"ROMPATH    \nrompath roms\nsnapshot_directory            \n", " | error 5"},
        {"ROMPATH", " | unchanged"},
        {"ROMPAT roms\nsnapshot_directory snap\n", " | " + app + "/snap/"},
        {"ROMPATH a;;b\n", "error 5 | unchanged"},
        {"ROMPATH a;\n", "error 5 | unchanged"},
    };
    for (const auto& [ini, want] : cases) {
        test::WriteFile(dir / "mame.ini", ini);
        host.state.snap_path = "unchanged";
        EXPECT_EQ(Read(host), want) << ini;
    }
}

}  // namespace
}  // namespace lorvane
