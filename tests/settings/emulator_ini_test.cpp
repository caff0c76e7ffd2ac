#include "emulator_ini.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "failure.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

// ".exe" becomes ".ini" wherever it stands (case matters); a name without an extension gains one.
TEST(EmulatorIni, NamesTheIniBesideTheExecutable) {
    const std::pair<const char*, const char*> names[] = {
        {"my.exe.exe", "my.ini.ini"}, {"MAME.EXE", "MAME.EXE"}, {"bin.d/mame", "bin.d/mame.ini"}, {"m.sh", "m.sh"}};
    for (const auto& [exe, ini] : names) EXPECT_EQ(EmulatorIniName(exe), ini) << exe;
}

// Both answers as "ROM directories | snapshot directory", either part maybe "error N".
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

// The first line of each key counts; the value starts after a fixed 17 (ROM path)
// or 19 (snapshot) characters; a relative snapshot directory lies in the app directory.
TEST(EmulatorIni, RomPathAndSnapshotDirectory) {
    test::TempDir dir;
    const std::string app = dir.Str();
    test::FakeHost host(app);
    host.state.MameExeName = "mame";
    host.state.err.Set(57, "left over");
    EXPECT_EQ(Read(host), "roms/; | " + app + "/snap/");
    EXPECT_FALSE(host.state.err.IsSet());
    const std::pair<const char*, std::string> cases[] = {
        {"# x\r\nROMPATH roms;/srv/my roms/\r\nSNAPSHOT_DIR       pics/\r\n", "roms/;/srv/my roms/; | " + app + "/pics/"},
        {"ROMPATH a; b\nsnapshot_directory /var/games/snap\n", "a/; b/; | /var/games/snap/"},
        {"ROMPATH\troms \n#snapshot_directory x\nsnapshot_directory=first\nsnapshot_directory second\n",
         "\troms/; | " + app + "/first/"},
        {";rompath nope\nrompath yes\nrompath no\nSNAPSHOT_DIR snap\n", "yes/; | error 5"},
        {"ROMPATH    \nrompath roms\nsnapshot_directory            \n", " | error 5"},
        {"ROMPAT roms\nsnapshot_directory snap;/var/snap\n", " | snap;/var/snap/"},
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
